#pragma once

#include "common/Etkilesim.h"

#include <QElapsedTimer>
#include <QTimer>

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
//
// The long commands report every card; the display follows a few times a second, not per
// card (a repaint per card costs more than the card itself). What is shown last is always
// the latest value: showing or hiding the progress frame, a message box and the file dialog
// bring the display up to date first, and a timer does so for a value that nothing follows.
class EkranEtkilesimi : public Etkilesim
{
public:
    // Shortest time between two repaints of the progress display, and between two runs of
    // the pending events during a long command.
    static constexpr int GosterimAraligiMs = 100;
    static constexpr int OlayAraligiMs = 25;

    EkranEtkilesimi();

    int Mesaj(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik) override;
    std::optional<QString> DosyaSec(const QString &onerilen, Dosya tur) override;
    void KartBarAyarla(double maksimum, double deger) override;
    void BarFrameYaz(const QString &baslik) override;
    void FrameBarGoster(bool gorunur) override;
    void MesajLblYaz(const QString &metin) override;
    void BekleyenOlaylariIsle() override;
    void PanoyaYaz(const QString &metin) override;
    bool OnizlemeGoster(const Onizleme &onizleme) override;

    void IlerlemeGorunumuKur(IlerlemeGorunumu *gorunum);

protected:
    // The box and the dialog themselves, once the display is up to date.
    virtual int KutuGoster(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik);
    virtual std::optional<QString> DiyalogGoster(const QString &onerilen, Dosya tur);

private:
    // Shows the values that wait, now or when the interval is over.
    void Zamanla();
    void Goster();

    IlerlemeGorunumu *m_gorunum = nullptr;
    struct Bekleyen {
        bool bar = false;
        double maksimum = 0;
        double deger = 0;
        bool yuzde = false;
        QString baslik;
        bool mesaj = false;
        QString metin;
    } m_bekleyen;
    QElapsedTimer m_sonGosterim;
    QElapsedTimer m_sonOlaylar;
    QTimer m_gecikme;
};
