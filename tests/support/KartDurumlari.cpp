#include "support/KartDurumlari.h"

#include "support/TestVeritabani.h"

#include <QStringList>

namespace {
QString Satir(const QVector<QVariant> &degerler, const QStringList &sutunlar, int bas, const QStringList &atla)
{
    QStringList s;
    for (int i = bas; i < degerler.size(); ++i) {
        if (atla.contains(sutunlar.value(i), Qt::CaseInsensitive))
            continue;
        const QVariant &d = degerler[i];
        s << (d.isNull() ? QStringLiteral("NULL") : d.toString());
    }
    return s.join(QLatin1Char('|'));
}
} // namespace

QHash<QString, QString> KartDurumlari(TestVeritabani &db, const QString &veritabani)
{
    QHash<QString, QString> durumlar;
    QStringList sutunlar;
    for (const auto &satir : db.Satirlar(veritabani, QStringLiteral("SELECT Stok_Kod, * FROM STOKKART"), &sutunlar))
        durumlar[satir[0].toString()] = Satir(satir, sutunlar, 1, {QStringLiteral("Stok_ID")});
    const auto fiyatlar = db.Satirlar(veritabani,
                                      QStringLiteral("SELECT k.Stok_Kod, f.* FROM STOKFIYAT f JOIN STOKKART k ON k.Stok_ID=f.Stok_ID "
                                                     "ORDER BY k.Stok_Kod, f.Fiyat_Sira_No"),
                                      &sutunlar);
    for (const auto &satir : fiyatlar)
        durumlar[satir[0].toString()] +=
            QStringLiteral("\n") + Satir(satir, sutunlar, 1, {QStringLiteral("Stok_ID"), QStringLiteral("Fiyat_ID")});
    return durumlar;
}
