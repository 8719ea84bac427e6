#pragma once

#include "common/Etkilesim.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <functional>

// The scripted operator: records every message box and progress step, answers questions
// and file dialogs from queues. A question nobody scripted is recorded as unexpected and
// answered No, so a test that checks `beklenmeyen` catches it.
class SahteEtkilesim : public Etkilesim
{
public:
    struct Kutu {
        QString metin;
        Simge simge;
        Dugmeler dugmeler;
        QString baslik;
    };

    SahteEtkilesim();
    ~SahteEtkilesim() override;

    int Mesaj(const QString &metin, Simge simge, Dugmeler dugmeler, const QString &baslik) override;
    std::optional<QString> DosyaSec(const QString &onerilen, Dosya tur) override;
    void KartBarAyarla(double maksimum, double deger) override;
    void BarFrameYaz(const QString &baslik) override;
    void FrameBarGoster(bool gorunur) override;
    void MesajLblYaz(const QString &metin) override;
    void BekleyenOlaylariIsle() override;
    void PanoyaYaz(const QString &metin) override;
    bool OnizlemeGoster(const Onizleme &onizleme) override;

    // Script.
    QQueue<int> cevaplar;                      // answers to Yes/No questions
    QQueue<std::optional<QString>> dosyalar;   // file dialog results (nullopt = Cancel)
    std::function<void()> olaylarda;           // what else happens while pending events run
    // The preview window: looked at (and answered, true = import) by the test; unscripted,
    // it is recorded as unexpected and closed.
    std::function<bool(const Onizleme &)> onizlemede;

    // Record.
    QList<Kutu> kutular;
    QStringList beklenmeyen;
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

    QStringList Metinler() const;
};
