#pragma once

#include "common/Etkilesim.h"

#include <QQueue>
#include <QRegularExpression>
#include <QStringList>
#include <functional>

// The scripted operator. Every message box must be announced beforehand with Bekle (its exact
// text, or a pattern of the whole text, and its icon; a question also its answer), every file
// dialog with an answer in `dosyalar`. A box or dialog nobody announced, or another than the
// one announced, fails the running test at once; an announced one never shown fails it when
// the double goes (at the end of the test, or in cleanup()). A preview window likewise needs
// `onizlemede`.
class SahteEtkilesim : public Etkilesim
{
public:
    struct Kutu {
        QString metin;
        Simge simge;
        Dugmeler dugmeler;
        QString baslik;
    };

    SahteEtkilesim() { OperatorKur(this); }
    ~SahteEtkilesim() override;

    int Mesaj(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik) override;
    std::optional<QString> DosyaSec(const QString &onerilen, Dosya tur) override;
    bool OnizlemeGoster(const Onizleme &onizleme) override;
    void KartBarAyarla(double maksimum, double deger) override
    {
        kartBarMaks = maksimum;
        kartBarDeger = deger;
    }
    void BarFrameYaz(const QString &baslik) override { yuzdeler << baslik; }
    void FrameBarGoster(bool gorunur) override
    {
        frameBarGorunur = gorunur;
        frameBarGosterildi += gorunur ? 1 : 0;
    }
    void MesajLblYaz(const QString &metin) override { mesajLbl << metin; }
    void BekleyenOlaylariIsle() override
    {
        ++olayIsleme;
        if (olaylarda)
            olaylarda();
    }
    void PanoyaYaz(const QString &metin) override
    {
        pano = metin;
        ++panoYazma;
    }

    // Script.
    void Bekle(const QString &metin, Simge simge, int cevap = Tamam) { m_beklenen.enqueue({metin, {}, simge, cevap}); }
    void Bekle(const QRegularExpression &desen, Simge simge, int cevap = Tamam);
    // A statement the database refused, told in two boxes: the reason, then the statement.
    void BekleSorguHatasi(const QString &gosterilen, const QString &neden = QStringLiteral(".+"));
    QQueue<std::optional<QString>> dosyalar;   // file dialog results (nullopt = Cancel)
    std::function<void()> olaylarda;           // what else happens while pending events run
    // The preview window: looked at (and answered, true = import) by the test; a preview
    // nobody scripted fails the test and is closed.
    std::function<bool(const Onizleme &)> onizlemede;
    // Whether every announced box was shown and every file answer taken; fails the test if not.
    bool Bitti();

    // Record.
    QList<Kutu> kutular;
    QStringList onerilenDosyalar;
    QStringList yuzdeler;
    QStringList mesajLbl;
    double kartBarMaks = 0;
    double kartBarDeger = 0;
    bool frameBarGorunur = false;
    int frameBarGosterildi = 0;
    int olayIsleme = 0;
    QString pano;
    int panoYazma = 0;
    int onizlemeSayisi = 0;

private:
    struct Beklenen {
        QString gosterim; // the exact text, or the pattern when `desen` is set
        QRegularExpression desen;
        Simge simge;
        int cevap;
    };
    QQueue<Beklenen> m_beklenen;
};
