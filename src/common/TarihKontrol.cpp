#include "common/TarihKontrol.h"

#include "common/Etkilesim.h"

std::optional<QString> TarihKontrol(const QString &metin)
{
    QString rakamlar;
    for (const QChar c : metin)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            rakamlar += c;
    const QString gun = rakamlar.mid(0, 2);
    const QString ay = rakamlar.mid(2, 2);
    const QString yil = rakamlar.mid(4, 4);

    // Each check may replace the message of an earlier one; only the last is shown.
    const QString gunMesaji = QStringLiteral("Gün alanını yanlış girdiniz.");
    QString mesaj;
    if (!gun.isEmpty() && gun.toInt() > 31)
        mesaj = gunMesaji;
    if (!ay.isEmpty() && ay.toInt() > 12)
        mesaj = QStringLiteral("Ay alanını yanlış girdiniz.");
    if (ay == QLatin1String("02") && gun.toInt() > 29)
        mesaj = gunMesaji;
    if ((ay == QLatin1String("04") || ay == QLatin1String("06") || ay == QLatin1String("09")
         || ay == QLatin1String("11")) && gun.toInt() > 30)
        mesaj = gunMesaji;
    if (!mesaj.isEmpty()) {
        Operator().Mesaj(mesaj, Etkilesim::Simge::Kritik);
        return std::nullopt;
    }
    QString sonuc = gun;
    if (gun.size() == 2)
        sonuc += QLatin1Char('/');
    sonuc += ay;
    if (ay.size() == 2)
        sonuc += QLatin1Char('/');
    return sonuc + yil;
}
