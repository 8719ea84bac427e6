#include "support/VeritabaniOzeti.h"

#include "support/TestVeritabani.h"

#include <QCryptographicHash>

QByteArray VeritabaniOzeti(TestVeritabani &db, const QString &firma)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const char *tablo : {"KDVGRUPLARI", "FIYATTANIM", "STOKKART", "STOKFIYAT", "SB"}) {
        hash.addData(QByteArray(tablo) + '\x1e');
        for (const auto &satir : db.Satirlar(firma, QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2").arg(QLatin1String(tablo)))) {
            for (const QVariant &d : satir)
                hash.addData(d.isNull() ? QByteArray("\x00N", 2) : QByteArray(d.typeName()) + ':' + d.toString().toUtf8() + '\x1f');
            hash.addData(QByteArray("\x1e", 1));
        }
    }
    return hash.result();
}
