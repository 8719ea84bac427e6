#pragma once

#include "common/ui/EkranEtkilesimi.h"
#include "filter/AktarimSecimi.h"
#include "filter/ui/FiltreGrdGorunumu.h"
#include "filter/ui/ListeYazdirma.h"

#include <QWidget>
#include <functional>

class FiltreTablosu;
class SonucListesi;
class QFrame;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

// The main window after the company choice: the criteria grid, the result list, the
// progress display and the commands. Closing it ends the program.
class FiltreFrm : public QWidget, public IlerlemeGorunumu
{
    Q_OBJECT
public:
    // Runs the opening sequence on the company connection that is open.
    explicit FiltreFrm(QWidget *ust = nullptr);
    ~FiltreFrm() override;

    FiltreTablosu &FiltreTablosuModeli() { return *m_filtre; }
    SonucListesi &FisgrdModeli() { return *m_fisgrd; }
    const AktarimSecimi &Secim() const { return m_secim; }
    bool Mesgul() const { return m_mesgul; }

    // The company the screen works on, shown beside the record count: DOSYADAN AL writes
    // into it. The name is Degiskenler::FirmaAdi until the login gives code and name.
    void FirmaGoster(const QString &kod, const QString &ad);

    // The print dialog step; tests replace it to print without a dialog.
    YazdirmaDiyalogu YazdirmaDiyalogAdimi = StandartYazdirmaDiyalogu();

    // Progress display, as the operator seam reaches it.
    void KartBarAyarla(double maksimum, double deger) override;
    void BarFrameYaz(const QString &baslik) override;
    void FrameBarGoster(bool gorunur) override;
    void MesajLblYaz(const QString &metin) override;

    FiltreGrdGorunumu *FiltreGrd = nullptr;
    QTableView *Fisgrd = nullptr;
    QPushButton *TamamBtn = nullptr;
    QPushButton *SilBtn = nullptr;
    QPushButton *DosyaOlusturBtn = nullptr;
    QPushButton *DosyadanOkuBtn = nullptr;
    QPushButton *OnizleBtn = nullptr;
    QPushButton *YazdirBtn = nullptr;
    QPushButton *CikisBtn = nullptr;
    QLabel *Kayit_SayisiLbl = nullptr;
    QLabel *FirmaLbl = nullptr;
    QLabel *MesajLbl = nullptr;
    QFrame *FrameBar = nullptr;
    QGroupBox *BarFrame = nullptr;
    QProgressBar *KartBar = nullptr;

Q_SIGNALS:
    // The window was closed: the program ends.
    void ProgramBitti();

public Q_SLOTS:
    void StoklariGoster();   // TamamBtn, F2
    void ListedenSil();      // SilBtn
    void ListeyiYazdir();    // YazdirBtn
    void BugunuYaz();        // F9

protected:
    bool eventFilter(QObject *nesne, QEvent *olay) override;
    void closeEvent(QCloseEvent *olay) override;

private:
    void Olustur();
    void Yukle();
    // The window's size and place on the screen it opens on: at most the designed size, never
    // larger than the room the screen leaves.
    void EkranaSigdir();
    // Runs a long command with the commands shut, so a second one cannot start inside it.
    void UzunKomut(const std::function<void()> &komut);
    void KomutlariAc(bool acik);
    void DosyaOlusturKomutu();
    void DosyadanAlKomutu();
    void OnizleKomutu();      // OnizleBtn, F5
    // Wiring points of the transfer commands (see FiltreFrm.cpp).
    bool TusuIsle(int tus);

    FiltreTablosu *m_filtre = nullptr;
    SonucListesi *m_fisgrd = nullptr;
    AktarimSecimi m_secim;
    EkranEtkilesimi *m_ekran = nullptr;
    bool m_mesgul = false;
    // The key press the window acted on last, so that its way up the parents is not acted on again.
    QObject *m_sonTusAlan = nullptr;
    int m_sonTus = 0;
};
