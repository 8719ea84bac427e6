#include "transfer/OncekiDosya.h"

#include "common/ProgramKlasoru.h"
#include "state/Hata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString DosyaAdi = QStringLiteral("öncekitrnsfr.txt");
}

QString OncekiDosyaYolu()
{
    const QString klasor = ProgramKlasoru();
    const QFileInfo bilgi(klasor);
    if (bilgi.isDir() && bilgi.isWritable())
        return QDir(klasor).filePath(DosyaAdi);
    const QString veri = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(veri);
    return QDir(veri).filePath(DosyaAdi);
}

QString OncekiDosyaOku()
{
    QFile dosya(OncekiDosyaYolu());
    if (!dosya.open(QIODevice::ReadOnly))
        return QString();
    QByteArray satir = dosya.readLine(64 * 1024);
    while (satir.endsWith('\n') || satir.endsWith('\r'))
        satir.chop(1);
    return QString::fromUtf8(satir);
}

void OncekiDosyaYaz(const QString &yol)
{
    QFile dosya(OncekiDosyaYolu());
    if (!dosya.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Hata(QStringLiteral("%1 yazılamadı: %2").arg(DosyaAdi, dosya.errorString()), 75);
    const QByteArray icerik = yol.toUtf8() + "\r\n";
    if (dosya.write(icerik) != icerik.size())
        throw Hata(QStringLiteral("%1 yazılamadı: %2").arg(DosyaAdi, dosya.errorString()), 75);
}
