#pragma once

#include "state/Recordset.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

// The login screen "Giriş": user name, password and server, then the user's company list.
// It never ends the program itself: it emits ProgramiBitir() and stops handling events, and
// emits FirmaSecildi() once Baglanti is on the chosen company's database. The program
// connects both (quit; hand over to the main window).
class LoginFrm : public QWidget
{
    Q_OBJECT
public:
    // `onerilenServer`, when given, is proposed in the server box over this computer's name
    // and over a remembered server.
    explicit LoginFrm(const QString &onerilenServer = QString(), QWidget *ebeveyn = nullptr);

    void Def_Kullanici_Oku();
    void Def_Kullanici_Kaydet();

    // The OK action: log in, then choose the only company or show the list.
    void TamamIslemi();
    // Lays the company list out in TDBG1: name and code only.
    void FirmaListesiDoldur();
    // Chooses the company of TDBG1's current row.
    void FirmaSecimi();

    int DenemeSayisi() const { return m_denemeSayisi; }
    // The code of the company chosen, once FirmaSecildi() was emitted.
    const QString &FirmaKodu() const { return m_firmaKodu; }
    bool Bitti() const { return m_bitti; }

    // Background colour of a text box that has the focus.
    static QColor OdakRengi();

Q_SIGNALS:
    void ProgramiBitir();
    void FirmaSecildi();

protected:
    bool eventFilter(QObject *nesne, QEvent *olay) override;
    void showEvent(QShowEvent *olay) override;

private:
    void EkraniKur();
    void BasarisizDeneme();
    void Bitir();

    QLabel *Zemin = nullptr;
    QFrame *KullaniciPnl = nullptr;
    QLabel *Label18 = nullptr;
    QLineEdit *sysus_nm = nullptr;
    QLabel *Label17 = nullptr;
    QLineEdit *sysus = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *DB_Name = nullptr;
    QCheckBox *Kullanici_Ayar_Sakla = nullptr;
    QPushButton *TamamBtn = nullptr;
    QPushButton *CikisBtn = nullptr;
    QFrame *FirmaPnl = nullptr;
    QTableView *TDBG1 = nullptr;
    QStandardItemModel *m_firmaModeli = nullptr;

    QString m_bilgisayarAdi;
    quint8 m_denemeSayisi = 0;
    Recordset m_firmaRS;
    QString m_firmaKodu;
    bool m_bitti = false;
    bool m_ilkGosterim = true;
};
