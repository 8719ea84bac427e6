#pragma once

#include <QString>
#include <optional>

struct Onizleme;

// Everything the core says to or asks of the operator goes through this one seam: message
// boxes, the file dialog, the progress display of the filter screen, letting pending events
// run, and the clipboard. The screens implement it with widgets, the command-line program on
// the terminal, the tests with a scripted double.
class Etkilesim
{
public:
    enum class Simge { Yok, Kritik, Soru, Bilgi };
    enum class Dugmeler { Tamam, EvetHayir };
    enum class Dosya { Ac, Kaydet, Rapor }; // Rapor: a change report to save (CSV)

    // Answers of a message box, as the platform numbers them.
    static constexpr int Tamam = 1;
    static constexpr int Evet = 6;
    static constexpr int Hayir = 7;

    virtual ~Etkilesim() = default;

    // An empty title means the application's default title.
    virtual int Mesaj(const QString &metin, Simge simge = Simge::Yok, Dugmeler dugmeler = Dugmeler::Tamam,
                      const QString &baslik = QString()) = 0;
    // The chosen path, or nothing when the operator cancelled.
    virtual std::optional<QString> DosyaSec(const QString &onerilen, Dosya tur) = 0;

    // Progress display of the filter screen: the bar `KartBar`, the caption of `BarFrame`,
    // the frame `FrameBar` that holds both, and the status label `MesajLbl`.
    virtual void KartBarAyarla(double maksimum, double deger) = 0;
    virtual void BarFrameYaz(const QString &baslik) = 0;
    virtual void FrameBarGoster(bool gorunur) = 0;
    virtual void MesajLblYaz(const QString &metin) = 0;

    virtual void BekleyenOlaylariIsle() = 0;
    virtual void PanoyaYaz(const QString &metin) = 0;

    // The preview of an import until the operator closes it; true when they chose to import
    // the file.
    virtual bool OnizlemeGoster(const Onizleme &onizleme) = 0;
};

// The seam the running program talks through. Set once at start (and by each test).
Etkilesim &Operator();
void OperatorKur(Etkilesim *etkilesim);

// A seam that answers every question with Yes and shows nothing: the default until a
// program installs its own, and the base of quiet doubles.
class SessizEtkilesim : public Etkilesim
{
public:
    int Mesaj(const QString &, Simge, Dugmeler dugmeler, const QString &) override
    {
        return dugmeler == Dugmeler::EvetHayir ? Evet : Tamam;
    }
    std::optional<QString> DosyaSec(const QString &, Dosya) override { return std::nullopt; }
    void KartBarAyarla(double, double) override {}
    void BarFrameYaz(const QString &) override {}
    void FrameBarGoster(bool) override {}
    void MesajLblYaz(const QString &) override {}
    void BekleyenOlaylariIsle() override {}
    void PanoyaYaz(const QString &) override {}
    bool OnizlemeGoster(const Onizleme &) override { return false; }
};
