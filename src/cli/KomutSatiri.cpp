#include "cli/KomutSatiri.h"

namespace {

bool EsitligiOku(const QString &metin, QPair<QString, QString> &cift)
{
    const qsizetype esittir = metin.indexOf(QLatin1Char('='));
    if (esittir <= 0)
        return false;
    cift = {metin.left(esittir), metin.mid(esittir + 1)};
    return true;
}

bool SayiOku(const QString &metin, int &sayi)
{
    bool tamam = false;
    sayi = metin.toInt(&tamam);
    return tamam && sayi >= 0;
}

} // namespace

QString KullanimMetni()
{
    return QStringLiteral(
        "Kullanım:\n"
        "  stoktransfer-cli demo KLASÖR [--force] [--cards N] [--prices K]\n"
        "  stoktransfer-cli demo SUNUCU --user YÖNETİCİ [--force] [--cards N] [--prices K]\n"
        "  stoktransfer-cli list   --server S --user U --company KOD [--set \"BAŞLIK=DEĞER\"]... [--end \"BAŞLIK=DEĞER\"]...\n"
        "  stoktransfer-cli export --server S --user U --company KOD [--set ...]... [--end ...]... [--force] DOSYA\n"
        "  stoktransfer-cli import --server S --user U --company KOD [--dry-run] [--stats] [--report RAPOR.csv [--force]] DOSYA\n"
        "Şifre STOKTRANSFER_PASSWORD ortam değişkeninden okunur, yoksa uçbirimde sorulur.\n");
}

std::optional<KomutSecenekleri> KomutSatiriniOku(const QStringList &arglar, QString *hata)
{
    auto reddet = [hata](const QString &neden) {
        *hata = neden;
        return std::optional<KomutSecenekleri>();
    };
    if (arglar.isEmpty())
        return reddet(QStringLiteral("Komut verilmedi."));

    KomutSecenekleri s;
    s.komut = arglar.first();
    const bool demo = s.komut == u"demo";
    const bool filtreli = s.komut == u"list" || s.komut == u"export";
    if (!demo && !filtreli && s.komut != u"import")
        return reddet(QStringLiteral("Bilinmeyen komut: %1").arg(s.komut));

    QStringList konumlu;
    for (int i = 1; i < arglar.size(); ++i) {
        const QString &a = arglar[i];
        const bool degerli = a == u"--server" || a == u"--user" || a == u"--company" || a == u"--set"
                             || a == u"--end" || a == u"--cards" || a == u"--prices" || a == u"--report";
        if (degerli && i + 1 >= arglar.size())
            return reddet(QStringLiteral("%1 bir değer bekliyor.").arg(a));
        const QString deger = degerli ? arglar[i + 1] : QString();
        if (demo && (a == u"--cards" || a == u"--prices")) {
            if (!SayiOku(deger, a == u"--cards" ? s.kartSayisi : s.fiyatSayisi))
                return reddet(QStringLiteral("%1 bir sayı bekliyor.").arg(a));
            ++i;
        } else if (!demo && a == u"--server") {
            s.server = deger, ++i;
        } else if (a == u"--user") {
            s.kullanici = deger, ++i;
        } else if (!demo && a == u"--company") {
            s.firma = deger, ++i;
        } else if (filtreli && (a == u"--set" || a == u"--end")) {
            QPair<QString, QString> cift;
            if (!EsitligiOku(deger, cift))
                return reddet(QStringLiteral("%1 \"BAŞLIK=DEĞER\" bekliyor: %2").arg(a, deger));
            (a == u"--set" ? s.baslangiclar : s.bitisler).append(cift);
            ++i;
        } else if (s.komut == u"import" && a == u"--report") {
            s.rapor = deger, ++i;
        } else if ((s.komut == u"export" || s.komut == u"import" || demo) && a == u"--force") {
            s.uzerineYaz = true;
        } else if (s.komut == u"import" && a == u"--dry-run") {
            s.deneme = true;
        } else if (s.komut == u"import" && a == u"--stats") {
            s.istatistik = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return reddet(QStringLiteral("Bilinmeyen seçenek: %1").arg(a));
        } else {
            konumlu << a;
        }
    }

    const bool dosyaGerekli = s.komut != u"list";
    if (konumlu.size() > (dosyaGerekli ? 1 : 0))
        return reddet(QStringLiteral("Fazla argüman: %1").arg(konumlu.join(QLatin1Char(' '))));
    if (dosyaGerekli && konumlu.isEmpty())
        return reddet(demo ? QStringLiteral("Klasör ya da sunucu verilmedi.") : QStringLiteral("Dosya verilmedi."));
    if (!konumlu.isEmpty())
        s.dosya = konumlu.first();
    if (!demo && (s.server.isEmpty() || s.kullanici.isEmpty() || s.firma.isEmpty()))
        return reddet(QStringLiteral("--server, --user ve --company gerekli."));
    if (demo && s.fiyatSayisi > 10)
        return reddet(QStringLiteral("--prices en çok 10 olabilir."));
    return s;
}
