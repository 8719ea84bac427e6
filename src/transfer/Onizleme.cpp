#include "transfer/Onizleme.h"

#include "common/Etkilesim.h"
#include "transfer/DegisiklikRaporu.h"
#include "transfer/OnizlemeModeli.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QDir>

namespace {

const QString RaporYazilamadi = QStringLiteral("Değişiklik Raporu Yazılamadı.\r");

// The save dialog and an existing file's question; the chosen path or nothing.
std::optional<QString> KayitYeriSor(const QString &onerilen)
{
    const auto yol = Operator().DosyaSec(onerilen, Etkilesim::Dosya::Rapor);
    if (!yol || yol->isEmpty())
        return std::nullopt;
    if (QFileInfo::exists(*yol)
        && Operator().Mesaj(QStringLiteral("Dosya Var Üzerine Yazılacktır.Onaylıyormusunuz"), Etkilesim::Simge::Soru,
                            Etkilesim::Dugmeler::EvetHayir)
               != Etkilesim::Evet)
        return std::nullopt;
    return yol;
}

// A file that stands already is replaced only once the copy is whole.
QString Kopyala(const QString &kaynakYolu, const QString &hedefYolu)
{
    if (QFileInfo(kaynakYolu) == QFileInfo(hedefYolu))
        return QString();
    QFile kaynak(kaynakYolu);
    if (!kaynak.open(QIODevice::ReadOnly))
        return kaynak.errorString();
    QSaveFile hedef(hedefYolu);
    if (!hedef.open(QIODevice::WriteOnly))
        return hedef.errorString();
    while (!kaynak.atEnd()) {
        const QByteArray parca = kaynak.read(1 << 16);
        if (parca.isEmpty() || hedef.write(parca) != parca.size()) {
            const QString neden = parca.isEmpty() ? kaynak.errorString() : hedef.errorString();
            hedef.cancelWriting();
            hedef.commit();
            return neden;
        }
    }
    return hedef.commit() ? QString() : hedef.errorString();
}

} // namespace

void Onizle()
{
    const auto secilen = AlinacakDosyaSec();
    if (!secilen)
        return;
    const QString yol = *secilen;
    OnizlemeModeli model;
    DegisiklikToplayici toplayici(model);
    Onizleme onizleme{yol, RaporFirmasi(), AktarimDosyasiUygula(yol, true, &toplayici, false), &model};
    // A refused file or a failure has shown the import's own message.
    if (!onizleme.ozet.basarili)
        return;
    if (!Operator().OnizlemeGoster(onizleme))
        return;
    if (Operator().Mesaj(AktarimOnayi(), Etkilesim::Simge::Soru, Etkilesim::Dugmeler::EvetHayir) != Etkilesim::Evet)
        return;
    RaporluAktar(yol);
}

void OnizlemeyiKaydet(const Onizleme &onizleme)
{
    qint64 satirlar = 0;
    for (const RaporKarti &k : onizleme.model->Kartlar())
        satirlar += qint64(k.satirlar.size());
    if (satirlar == 0) {
        Operator().Mesaj(QStringLiteral("Kaydedilecek Değişiklik Yok."));
        return;
    }
    const QString onerilen = QFileInfo(onizleme.yol).dir().filePath(QFileInfo(onizleme.yol).completeBaseName()
                                                                     + QStringLiteral("-onizleme.csv"));
    const auto yol = KayitYeriSor(onerilen);
    if (!yol)
        return;
    const QString hata = OnizlemeyiYaz(*onizleme.model, *yol, onizleme.firma);
    if (!hata.isEmpty())
        Operator().Mesaj(RaporYazilamadi + hata, Etkilesim::Simge::Kritik);
}

IceAktarimOzeti RaporluAktar(const QString &yol)
{
    const QString raporYolu = YeniRaporYolu();
    RaporDosyasi rapor(raporYolu, RaporFirmasi());
    // The import goes on without a report the data folder cannot take; the operator is told.
    QString raporHatasi = rapor.Ac();
    std::optional<DegisiklikToplayici> toplayici;
    if (raporHatasi.isEmpty())
        toplayici.emplace(rapor);
    const IceAktarimOzeti ozet = AktarimDosyasiUygula(yol, false, toplayici ? &*toplayici : nullptr);
    if (raporHatasi.isEmpty())
        raporHatasi = rapor.Bitir();
    if (!raporHatasi.isEmpty()) {
        Operator().Mesaj(RaporYazilamadi + raporHatasi, Etkilesim::Simge::Kritik);
        return ozet;
    }
    if (rapor.SatirSayisi() == 0)
        return ozet;
    EskiRaporlariSil();
    if (Operator().Mesaj(QStringLiteral("Yapılan Değişikliklerin Raporu Kaydedilsin mi?"), Etkilesim::Simge::Soru,
                         Etkilesim::Dugmeler::EvetHayir)
        != Etkilesim::Evet)
        return ozet;
    const auto hedef = KayitYeriSor(QFileInfo(yol).dir().filePath(QFileInfo(raporYolu).fileName()));
    if (!hedef)
        return ozet;
    const QString hata = Kopyala(raporYolu, *hedef);
    if (!hata.isEmpty())
        Operator().Mesaj(RaporYazilamadi + hata, Etkilesim::Simge::Kritik);
    return ozet;
}
