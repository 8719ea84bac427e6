#include "common/Registry.h"

#include <QSettings>
#include <memory>

namespace {

// Opens the subkey; on platforms without a registry the group of the same path in the
// per-user settings file "StokTransfer/Registry".
std::unique_ptr<QSettings> AnahtarAc(quint32 kok, const QString &altAnahtar)
{
    Q_UNUSED(kok); // every caller uses the current user's hive
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\") + altAnahtar, QSettings::NativeFormat);
#else
    auto ayarlar = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                               QStringLiteral("StokTransfer"), QStringLiteral("Registry"));
    // QSettings separates subkeys with "/"; a registry path with "\".
    QString grup = altAnahtar;
    grup.replace(QLatin1Char('\\'), QLatin1Char('/'));
    ayarlar->beginGroup(grup);
    return ayarlar;
#endif
}

} // namespace

QString RegistryDegerOku(QSettings &anahtar, const QString &degerAdi)
{
    const QVariant deger = anahtar.value(degerAdi);
    if (deger.typeId() != QMetaType::QString)
        return QString();
    const QString metin = deger.toString();
    const qsizetype sifir = metin.indexOf(QChar(0));
    return sifir < 0 ? metin : metin.left(sifir);
}

QString RegistryOku(quint32 kok, const QString &altAnahtar, const QString &degerAdi)
{
    const auto anahtar = AnahtarAc(kok, altAnahtar);
    return RegistryDegerOku(*anahtar, degerAdi);
}

void RegistryYaz(quint32 kok, const QString &altAnahtar, const QString &degerAdi, const QString &metin)
{
    const auto anahtar = AnahtarAc(kok, altAnahtar);
    anahtar->setValue(degerAdi, metin);
    anahtar->sync();
}
