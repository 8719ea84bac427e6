#include "login/ui/LoginFrm.h"

#include "common/Etkilesim.h"
#include "common/ui/Gezinti.h"
#include "login/Giris.h"
#include "login/HatirlananKullanici.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QSysInfo>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Widths of the company list's two columns (3000 and 1700 twips at 15 twips a pixel).
constexpr int FirmaAdiGenisligi = 200;
constexpr int FirmaKoduGenisligi = 113;

} // namespace

QColor LoginFrm::OdakRengi()
{
    // Hexadecimal D1E2FC in the platform's blue-green-red order.
    return QColor(252, 226, 209);
}

LoginFrm::LoginFrm(const QString &onerilenServer, QWidget *ebeveyn) : QWidget(ebeveyn)
{
    setObjectName(QStringLiteral("LoginFrm"));
    EkraniKur();

    // Start-up: this computer is the default server; a remembered user and server replace
    // the defaults; a server given to the program replaces them all.
    m_bilgisayarAdi = QSysInfo::machineHostName().trimmed();
    DB_Name->setText(m_bilgisayarAdi);
    Def_Kullanici_Oku();
    if (!onerilenServer.trimmed().isEmpty())
        DB_Name->setText(onerilenServer.trimmed());
    Degiskenler::VeritabaniAdi = Degiskenler::TanimVeritabani;
}

void LoginFrm::EkraniKur()
{
    setWindowTitle(QStringLiteral("Giriş"));
    setMinimumWidth(470);

    Zemin = new QLabel(QStringLiteral("Stok ve Fiyat Transfer Sistemi"), this);
    Zemin->setObjectName(QStringLiteral("Zemin"));
    Zemin->setAlignment(Qt::AlignCenter);
    Zemin->setMinimumHeight(64);
    Zemin->setStyleSheet(QStringLiteral(
        "QLabel#Zemin { color: white; font-size: 17px; font-weight: bold;"
        " background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #1f4e79, stop:1 #2e75b6); }"));

    KullaniciPnl = new QFrame(this);
    KullaniciPnl->setObjectName(QStringLiteral("KullaniciPnl"));
    auto *izgara = new QGridLayout(KullaniciPnl);
    izgara->setContentsMargins(24, 18, 24, 12);
    izgara->setHorizontalSpacing(12);
    izgara->setVerticalSpacing(10);

    auto kutu = [this](const char *ad, const char *tag) {
        auto *k = new QLineEdit(KullaniciPnl);
        k->setObjectName(QLatin1String(ad));
        k->setProperty("Tag", QLatin1String(tag));
        k->setMinimumWidth(230);
        k->setMinimumHeight(26);
        QPalette renkler = k->palette();
        renkler.setColor(QPalette::Base, Qt::white);
        k->setPalette(renkler);
        k->installEventFilter(this);
        return k;
    };
    auto etiket = [this](const char *ad, const QString &metin) {
        auto *e = new QLabel(metin, KullaniciPnl);
        e->setObjectName(QLatin1String(ad));
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return e;
    };

    Label18 = etiket("Label18", QStringLiteral("Kullanıcı Adı  :"));
    sysus_nm = kutu("sysus_nm", "ASD;DB_name;ASD;sysus");
    sysus_nm->setText(QStringLiteral("torvela"));
    Label17 = etiket("Label17", QStringLiteral("Şifre :"));
    sysus = kutu("sysus", "ASD;sysus_nm;ASD;db_name");
    sysus->setEchoMode(QLineEdit::Password);
    Label1 = etiket("Label1", QStringLiteral("Server Adı:"));
    DB_Name = kutu("DB_Name", "ASD;sysus;ASD;sysus_nm");
    Label18->setBuddy(sysus_nm);
    Label17->setBuddy(sysus);
    Label1->setBuddy(DB_Name);

    Kullanici_Ayar_Sakla = new QCheckBox(QStringLiteral("Bu Kullanıcıyı Hatırla"), KullaniciPnl);
    Kullanici_Ayar_Sakla->setObjectName(QStringLiteral("Kullanici_Ayar_Sakla"));

    TamamBtn = new QPushButton(QStringLiteral("Tamam"), KullaniciPnl);
    TamamBtn->setObjectName(QStringLiteral("TamamBtn"));
    CikisBtn = new QPushButton(QStringLiteral("Çıkış"), KullaniciPnl);
    CikisBtn->setObjectName(QStringLiteral("CikisBtn"));
    for (QPushButton *d : {TamamBtn, CikisBtn}) {
        d->setMinimumSize(96, 30);
        d->setAutoDefault(false);
    }

    izgara->addWidget(Label18, 0, 0);
    izgara->addWidget(sysus_nm, 0, 1);
    izgara->addWidget(Label17, 1, 0);
    izgara->addWidget(sysus, 1, 1);
    izgara->addWidget(Label1, 2, 0);
    izgara->addWidget(DB_Name, 2, 1);
    izgara->addWidget(Kullanici_Ayar_Sakla, 3, 1);
    auto *dugmeler = new QHBoxLayout;
    dugmeler->setSpacing(8);
    dugmeler->addStretch();
    dugmeler->addWidget(TamamBtn);
    dugmeler->addWidget(CikisBtn);
    izgara->addLayout(dugmeler, 4, 0, 1, 2);
    izgara->setColumnStretch(1, 1);

    FirmaPnl = new QFrame(this);
    FirmaPnl->setObjectName(QStringLiteral("FirmaPnl"));
    FirmaPnl->installEventFilter(this);
    auto *firmaDuzeni = new QVBoxLayout(FirmaPnl);
    firmaDuzeni->setContentsMargins(24, 14, 24, 18);
    auto *firmaBasligi = new QLabel(QStringLiteral("Çalışılacak firmayı seçiniz:"), FirmaPnl);
    firmaBasligi->setObjectName(QStringLiteral("FirmaLbl"));
    TDBG1 = new QTableView(FirmaPnl);
    TDBG1->setObjectName(QStringLiteral("TDBG1"));
    m_firmaModeli = new QStandardItemModel(this);
    TDBG1->setModel(m_firmaModeli);
    TDBG1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TDBG1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TDBG1->setSelectionMode(QAbstractItemView::SingleSelection);
    TDBG1->setAlternatingRowColors(true);
    TDBG1->verticalHeader()->hide();
    TDBG1->horizontalHeader()->setStretchLastSection(true);
    TDBG1->setMinimumHeight(170);
    TDBG1->installEventFilter(this);
    connect(TDBG1, &QAbstractItemView::doubleClicked, this, [this] { FirmaSecimi(); });
    firmaDuzeni->addWidget(firmaBasligi);
    firmaDuzeni->addWidget(TDBG1);
    FirmaPnl->hide();

    auto *duzen = new QVBoxLayout(this);
    duzen->setContentsMargins(0, 0, 0, 0);
    duzen->setSpacing(0);
    duzen->addWidget(Zemin);
    duzen->addWidget(KullaniciPnl);
    duzen->addWidget(FirmaPnl);

    connect(TamamBtn, &QPushButton::clicked, this, [this] { TamamIslemi(); });
    connect(CikisBtn, &QPushButton::clicked, this, [this] { Bitir(); });
}

void LoginFrm::showEvent(QShowEvent *olay)
{
    QWidget::showEvent(olay);
    // The password box has the focus when the screen first appears, whatever was remembered.
    if (m_ilkGosterim) {
        m_ilkGosterim = false;
        sysus->setFocus(Qt::ActiveWindowFocusReason);
    }
}

bool LoginFrm::eventFilter(QObject *nesne, QEvent *olay)
{
    if (nesne == sysus_nm || nesne == sysus || nesne == DB_Name) {
        auto *kutu = static_cast<QLineEdit *>(nesne);
        switch (olay->type()) {
        case QEvent::FocusIn: {
            TumunuSec(kutu);
            QPalette renkler = kutu->palette();
            renkler.setColor(QPalette::Base, OdakRengi());
            kutu->setPalette(renkler);
            break;
        }
        case QEvent::FocusOut: {
            QPalette renkler = kutu->palette();
            renkler.setColor(QPalette::Base, Qt::white);
            kutu->setPalette(renkler);
            break;
        }
        case QEvent::KeyPress: {
            if (m_bitti)
                return true;
            const int kod = TusKodu(static_cast<QKeyEvent *>(olay));
            KontrolGezinti(this, kod, kutu, true);
            if (kod == TusKodlari::Enter) {
                TamamIslemi();
                return true;
            }
            break;
        }
        default: break;
        }
    } else if (nesne == TDBG1 && olay->type() == QEvent::KeyPress) {
        const int kod = TusKodu(static_cast<QKeyEvent *>(olay));
        if (kod == TusKodlari::Enter) {
            FirmaSecimi();
            return true;
        }
    } else if (nesne == FirmaPnl && olay->type() == QEvent::MouseButtonPress) {
        FirmaListesiDoldur();
    }
    return QWidget::eventFilter(nesne, olay);
}

void LoginFrm::Def_Kullanici_Oku()
{
    const QString kullanici = HatirlananKullanici::Kullanici();
    if (!kullanici.isEmpty())
        sysus_nm->setText(kullanici.trimmed());
    const QString server = HatirlananKullanici::Server();
    if (!server.isEmpty())
        DB_Name->setText(server.trimmed());
}

void LoginFrm::Def_Kullanici_Kaydet()
{
    HatirlananKullanici::Kaydet(sysus_nm->text(), DB_Name->text());
}

void LoginFrm::TamamIslemi()
{
    if (m_bitti)
        return;
    GirisSonucu sonuc = KullaniciyiDogrula(sysus_nm->text(), sysus->text(), DB_Name->text(), m_firmaRS);
    if (sonuc.durum == GirisSonucu::Durum::Bulundu) {
        // Remembered as soon as the user is found, whatever happens to the company choice.
        if (Kullanici_Ayar_Sakla->isChecked())
            Def_Kullanici_Kaydet();
        sonuc = FirmalariYukle(m_firmaRS);
    }

    switch (sonuc.durum) {
    case GirisSonucu::Durum::Reddedildi:
        BasarisizDeneme();
        return;
    case GirisSonucu::Durum::BaglantiHatasi:
        Operator().Mesaj(GirisMesajlari::BaglanilamadiGiris, Etkilesim::Simge::Kritik);
        Operator().Mesaj(sonuc.aciklama, Etkilesim::Simge::Yok);
        Operator().Mesaj(QString::number(sonuc.numara), Etkilesim::Simge::Yok);
        DB_Name->setFocus(Qt::OtherFocusReason);
        return;
    case GirisSonucu::Durum::Bulundu: break;
    }

    if (m_firmaRS.RecordCount() == 1) {
        FirmaSecimi();
        if (m_bitti)
            return;
        // The only company could not be chosen: it stays in view on the list.
    }
    FirmaListesiDoldur();
    KullaniciPnl->hide();
    FirmaPnl->show();
    adjustSize();
    TDBG1->setFocus(Qt::OtherFocusReason);
}

void LoginFrm::BasarisizDeneme()
{
    ++m_denemeSayisi;
    if (m_denemeSayisi >= 3) {
        Operator().Mesaj(GirisMesajlari::DenemeBitti, Etkilesim::Simge::Kritik);
        Bitir();
        return;
    }
    Operator().Mesaj(GirisMesajlari::KullaniciyiKontrolEdin, Etkilesim::Simge::Kritik);
    sysus_nm->setFocus(Qt::OtherFocusReason);
}

void LoginFrm::FirmaListesiDoldur()
{
    const int oncekiSatir = TDBG1->currentIndex().isValid() ? TDBG1->currentIndex().row() : 0;
    m_firmaModeli->clear();
    try {
        const int sutunSayisi = m_firmaRS.FieldCount();
        m_firmaModeli->setColumnCount(sutunSayisi);
        QStringList basliklar;
        for (int i = 0; i < sutunSayisi; ++i)
            basliklar << m_firmaRS.FieldName(i);
        if (sutunSayisi > 0)
            basliklar[0] = QStringLiteral("Firma Adı");
        if (sutunSayisi > 1)
            basliklar[1] = QStringLiteral("Firma Kodu");
        m_firmaModeli->setHorizontalHeaderLabels(basliklar);
        for (m_firmaRS.MoveFirst(); !m_firmaRS.Eof(); m_firmaRS.MoveNext()) {
            QList<QStandardItem *> satir;
            for (int i = 0; i < sutunSayisi; ++i)
                satir << new QStandardItem(m_firmaRS.Metin(i));
            m_firmaModeli->appendRow(satir);
        }
        if (m_firmaRS.RecordCount() > 0)
            m_firmaRS.MoveFirst();
    } catch (const Hata &) {
        // A list that could not be loaded was reported when it was opened; it shows empty.
    }
    for (int i = 0; i < m_firmaModeli->columnCount(); ++i)
        TDBG1->setColumnHidden(i, i >= 2);
    TDBG1->setColumnWidth(0, FirmaAdiGenisligi);
    TDBG1->setColumnWidth(1, FirmaKoduGenisligi);
    if (m_firmaModeli->rowCount() > 0)
        TDBG1->setCurrentIndex(m_firmaModeli->index(qMin(oncekiSatir, m_firmaModeli->rowCount() - 1), 0));
}

void LoginFrm::FirmaSecimi()
{
    if (m_bitti)
        return;
    // The recordset's cursor follows the grid's current row.
    try {
        const int satir = TDBG1->currentIndex().isValid() ? TDBG1->currentIndex().row() : 0;
        if (m_firmaRS.Acik() && m_firmaRS.RecordCount() > 0) {
            m_firmaRS.MoveFirst();
            for (int i = 0; i < satir && !m_firmaRS.Eof(); ++i)
                m_firmaRS.MoveNext();
        }
    } catch (const Hata &) {
        // FirmaSec reports an unusable list.
    }

    const FirmaSecimSonucu sonuc = FirmaSec(m_firmaRS);
    switch (sonuc.durum) {
    case FirmaSecimSonucu::Durum::Secildi:
        m_bitti = true;
        m_firmaKodu = sonuc.kod;
        Q_EMIT FirmaSecildi();
        return;
    case FirmaSecimSonucu::Durum::Secilemedi:
        Operator().Mesaj(GirisMesajlari::FirmaSecilemedi + QLatin1Char('\r') + sonuc.aciklama,
                         Etkilesim::Simge::Kritik);
        if (FirmaPnl->isVisible())
            TDBG1->setFocus(Qt::OtherFocusReason);
        return;
    case FirmaSecimSonucu::Durum::BaglantiKurulamadi:
        Operator().Mesaj(GirisMesajlari::BaglanilamadiFirma, Etkilesim::Simge::Bilgi);
        Operator().Mesaj(GirisMesajlari::HataAyrintisi + sonuc.aciklama, Etkilesim::Simge::Yok);
        Bitir();
        return;
    }
}

void LoginFrm::Bitir()
{
    m_bitti = true;
    hide();
    Q_EMIT ProgramiBitir();
}
