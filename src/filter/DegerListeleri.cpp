#include "filter/DegerListeleri.h"

#include "common/Etkilesim.h"
#include "filter/FiltreTablosu.h"
#include "state/DegerMetin.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "state/RecordsetAc.h"

#include <functional>

using Degiskenler::YardimciRS;

namespace {

// Opens YardimciRS and adds one item per record. Nothing when the statement failed.
std::optional<QString> Listele(const QString &sql, const QString &bas,
                               const std::function<void(QString &)> &ogeEkle)
{
    RecordsetAc(YardimciRS, sql);
    if (!YardimciRS.Acik())
        return std::nullopt;
    QString metin = bas;
    while (!YardimciRS.Eof()) {
        ogeEkle(metin);
        YardimciRS.MoveNext();
    }
    return metin;
}

// Items that skip null and empty values and are trimmed.
std::optional<QString> DoluDegerler(const QString &sql, const QString &alan)
{
    return Listele(sql, QString(), [&](QString &metin) {
        const QVariant deger = YardimciRS.Deger(alan);
        if (deger.isNull() || deger.toString().isEmpty())
            return;
        metin += deger.toString().trimmed() + QLatin1Char('|');
    });
}

// A rate goes unquoted into the stock-list statement when picked, so it is written with the
// decimal point SQL reads ("12.5"), not the workstation's comma.
QString OranMetni(const QVariant &deger)
{
    if (deger.isNull())
        return QString();
    bool sayi = false;
    const double d = deger.toDouble(&sayi);
    return sayi ? QString::number(d, 'g', 15) : deger.toString();
}

} // namespace

std::optional<QString> KdvOraniListesi()
{
    return Listele(QStringLiteral("SELECT DISTINCT KDV FROM STOKKART ORDER BY KDV"), QStringLiteral("Hepsi|"),
                   [](QString &metin) { metin += OranMetni(YardimciRS.Deger(QStringLiteral("KDV"))) + QLatin1Char('|'); });
}

std::optional<QString> KdvGrubuListesi()
{
    return Listele(
        QStringLiteral("SELECT Grup_ID,Departman_No,Departman_Adi,KDV FROM KDVGRUPLARI ORDER BY Departman_No"),
        QStringLiteral("Hepsi|"), [](QString &metin) {
            const QVariant no = YardimciRS.Deger(QStringLiteral("Departman_No"));
            metin += (no.isNull() ? QString() : QString::number(no.toLongLong())) + QLatin1Char('\t')
                     + YardimciRS.Metin(QStringLiteral("Departman_Adi")) + QStringLiteral(" %")
                     + YardimciRS.Metin(QStringLiteral("KDV")) + QLatin1Char('|');
        });
}

std::optional<QString> KartAlaniListesi(int n)
{
    static const char *const sorgular[] = {
        "SELECT DISTINCT O_Kod FROM STOKKART",
        "SELECT DISTINCT O_Kod2 as O_Kod FROM STOKKART",
        "SELECT DISTINCT O_Kod3 as O_Kod FROM STOKKART",
        "SELECT DISTINCT Uretici_Firma as O_Kod FROM STOKKART",
        "SELECT DISTINCT Ana_Birim as O_Kod FROM STOKKART",
    };
    if (n < 1 || n > 5)
        return QString();
    return DoluDegerler(QString::fromLatin1(sorgular[n - 1]), QStringLiteral("O_Kod"));
}

std::optional<QString> GrupKodListesi()
{
    return DoluDegerler(QStringLiteral("SELECT DISTINCT Grup_Kod FROM STOKKART"), QStringLiteral("Grup_Kod"));
}

void SecenekleriDoldur(FiltreTablosu &FiltreGrd)
{
    const int lbl = FiltreGrd.ColIndex(QStringLiteral("FiltreLbl"));
    const int sec = FiltreGrd.ColIndex(QStringLiteral("Secenek"));
    const QString farketmez = QStringLiteral("Farketmez|");
    const QString hepsi = QStringLiteral("Hepsi|");
    struct Doldurma {
        QString baslik;
        QString bas;
        std::function<std::optional<QString>()> yukle;
    };
    const Doldurma doldurmalar[] = {
        {QStringLiteral("Özel Kodu"), farketmez, [] { return KartAlaniListesi(1); }},
        {QStringLiteral("2. Özel Kodu"), farketmez, [] { return KartAlaniListesi(2); }},
        {QStringLiteral("3. Özel Kodu"), farketmez, [] { return KartAlaniListesi(3); }},
        {QStringLiteral("Üretici Firma"), farketmez, [] { return KartAlaniListesi(4); }},
        {QStringLiteral("Ana Birimi"), hepsi, [] { return KartAlaniListesi(5); }},
        {QStringLiteral("Grup Kodu"), farketmez, [] { return GrupKodListesi(); }},
        {QStringLiteral("KDV Oranı"), QString(), [] { return KdvOraniListesi(); }},
        {QStringLiteral("KDV Grubu"), QString(), [] { return KdvGrubuListesi(); }},
    };
    for (int r = 1; r < FiltreGrd.Rows(); ++r) {
        for (const Doldurma &d : doldurmalar) {
            if (FiltreGrd.TextMatrix(r, lbl) != d.baslik)
                continue;
            std::optional<QString> liste;
            try {
                liste = d.yukle();
            } catch (const Hata &hata) {
                // A list that cannot be read must not keep the screen from opening.
                Operator().Mesaj(hata.Aciklama(), Etkilesim::Simge::Kritik);
            }
            if (liste)
                FiltreGrd.SetTextMatrix(r, sec, d.bas + *liste);
        }
    }
}
