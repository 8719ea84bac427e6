#pragma once

#include "common/Etkilesim.h"

// The progress display of the filter screen, as the operator seam reaches it.
class IlerlemeGorunumu
{
public:
    virtual ~IlerlemeGorunumu() = default;
    virtual void KartBarAyarla(double maksimum, double deger) = 0;
    virtual void BarFrameYaz(const QString &baslik) = 0;
    virtual void FrameBarGoster(bool gorunur) = 0;
    virtual void MesajLblYaz(const QString &metin) = 0;
};

// The operator seam with Qt Widgets: message boxes, the file dialog, the clipboard, the
// event loop, and the progress display of whichever screen registered one.
class EkranEtkilesimi : public Etkilesim
{
public:
    int Mesaj(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik) override;
    std::optional<QString> DosyaSec(const QString &onerilen, Dosya tur) override;
    void KartBarAyarla(double maksimum, double deger) override;
    void BarFrameYaz(const QString &baslik) override;
    void FrameBarGoster(bool gorunur) override;
    void MesajLblYaz(const QString &metin) override;
    void BekleyenOlaylariIsle() override;
    void PanoyaYaz(const QString &metin) override;

    void IlerlemeGorunumuKur(IlerlemeGorunumu *gorunum) { m_gorunum = gorunum; }

private:
    IlerlemeGorunumu *m_gorunum = nullptr;
};
