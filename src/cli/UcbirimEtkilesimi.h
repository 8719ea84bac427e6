#pragma once

#include "common/Etkilesim.h"

#include <QString>

// The operator seam on a terminal: every message box goes to standard error (the command's
// exit code tells success), questions are answered Yes (the command line is the operator's
// consent), there is no file dialog (the commands take their file from the command line), and
// progress is a percentage line updated in place while standard error is a terminal.
class UcbirimEtkilesimi : public Etkilesim
{
public:
    UcbirimEtkilesimi();

    int Mesaj(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik) override;
    std::optional<QString> DosyaSec(const QString &onerilen, Dosya tur) override;
    void KartBarAyarla(double maksimum, double deger) override;
    void BarFrameYaz(const QString &baslik) override;
    void FrameBarGoster(bool gorunur) override;
    void MesajLblYaz(const QString &metin) override;
    void BekleyenOlaylariIsle() override {}
    void PanoyaYaz(const QString &) override {}
    bool OnizlemeGoster(const Onizleme &) override { return false; }

    // The text of the last critical message, for the summary of a refused command.
    const QString &SonHata() const { return m_sonHata; }
    int HataSayisi() const { return m_hataSayisi; }

private:
    void SatiriBitir();

    QString m_sonHata;
    int m_hataSayisi = 0;
    bool m_terminal = false;
    bool m_satirAcik = false;
    QString m_durum;
    QString m_sonYuzde;
};
