#include "filter/ui/FiltreFrm.h"

#include "common/Saat.h"
#include "common/ui/Dugme.h"
#include "filter/DegerListeleri.h"
#include "filter/FiltreTablosu.h"
#include "filter/SonucListesi.h"
#include "filter/SorguOlusturucu.h"
#include "filter/StokListesi.h"
#include "filter/ui/FiltreGrdTemsilcisi.h"
#include "state/Degiskenler.h"
#include "transfer/DosyaOlustur.h"
#include "transfer/DosyadanAl.h"
#include "transfer/Onizleme.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

namespace {

const QString Baslik = QStringLiteral("Stok ve Fiyat Transfer Sistemi");
constexpr int TasarimGenisligi = 1180;
constexpr int TasarimYuksekligi = 860;
constexpr int PencereBasligi = 32;
constexpr int PencereKenari = 8;
constexpr int FiltreLblGenisligi = 150;
constexpr int DegerGenisligi = 130;

} // namespace

FiltreFrm::FiltreFrm(QWidget *ust) : QWidget(ust)
{
    setObjectName(QStringLiteral("FiltreFrm"));
    setWindowTitle(Baslik);
    m_filtre = new FiltreTablosu(this);
    m_fisgrd = new SonucListesi(this);
    Olustur();
    FirmaGoster(QString(), Degiskenler::FirmaAdi);
    EkranaSigdir();
    m_ekran = dynamic_cast<EkranEtkilesimi *>(&Operator());
    if (m_ekran)
        m_ekran->IlerlemeGorunumuKur(this);
    qApp->installEventFilter(this);
    Yukle();
}

FiltreFrm::~FiltreFrm()
{
    qApp->removeEventFilter(this);
    if (m_ekran && dynamic_cast<EkranEtkilesimi *>(&Operator()) == m_ekran)
        m_ekran->IlerlemeGorunumuKur(nullptr);
}

void FiltreFrm::Olustur()
{
    // Criteria grid: the narrow fixed column 0 is the row header; hidden columns stay hidden.
    FiltreGrd = new FiltreGrdGorunumu(*m_filtre, this);
    FiltreGrd->setObjectName(QStringLiteral("FiltreGrd"));
    FiltreGrd->setModel(m_filtre);
    FiltreGrd->setSelectionModel(new FiltreSecimModeli(*m_filtre));
    FiltreGrd->setItemDelegate(new FiltreGrdTemsilcisi(*m_filtre, FiltreGrd));
    FiltreGrd->setSelectionMode(QAbstractItemView::SingleSelection);
    FiltreGrd->setAlternatingRowColors(true);
    FiltreGrd->verticalHeader()->setFixedWidth(12);
    FiltreGrd->verticalHeader()->setDefaultSectionSize(24);
    FiltreGrd->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FiltreGrd->setColumnHidden(0, true);
    for (const char *gizli : {"Ayirac", "Alan", "Secenek", "Tip", "Girsin"})
        FiltreGrd->setColumnHidden(m_filtre->ColIndex(QLatin1String(gizli)), true);
    FiltreGrd->setColumnWidth(m_filtre->ColIndex(QStringLiteral("FiltreLbl")), FiltreLblGenisligi);
    FiltreGrd->setColumnWidth(m_filtre->ColIndex(QStringLiteral("Baslangic")), DegerGenisligi);
    FiltreGrd->horizontalHeader()->setStretchLastSection(true);
    FiltreGrd->setMinimumWidth(12 + FiltreLblGenisligi + 2 * DegerGenisligi + 24);
    connect(m_filtre, &FiltreTablosu::SatirGizlendi, FiltreGrd,
            [this](int satir, bool gizli) { FiltreGrd->setRowHidden(satir - 1, gizli); });

    // Result list: the running number is the model's column 0, so no row header is needed.
    // The name takes whatever width the other columns leave.
    Fisgrd = new QTableView(this);
    Fisgrd->setObjectName(QStringLiteral("Fisgrd"));
    Fisgrd->setModel(m_fisgrd);
    Fisgrd->setSelectionBehavior(QAbstractItemView::SelectRows);
    Fisgrd->setSelectionMode(QAbstractItemView::SingleSelection);
    Fisgrd->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Fisgrd->setTabKeyNavigation(false);
    Fisgrd->setAlternatingRowColors(true);
    Fisgrd->verticalHeader()->hide();
    Fisgrd->verticalHeader()->setDefaultSectionSize(22);
    Fisgrd->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Fisgrd->setColumnWidth(0, 60);
    Fisgrd->setColumnWidth(m_fisgrd->ColIndex(QStringLiteral("Stok_Kod")), 120);
    Fisgrd->setColumnWidth(m_fisgrd->ColIndex(QStringLiteral("Fiyat")), 100);
    Fisgrd->setColumnHidden(m_fisgrd->ColIndex(QStringLiteral("Fiyat_ID")), true);
    Fisgrd->setColumnHidden(m_fisgrd->ColIndex(QStringLiteral("Stok_ID")), true);
    Fisgrd->horizontalHeader()->setStretchLastSection(false);
    Fisgrd->horizontalHeader()->setSectionResizeMode(m_fisgrd->ColIndex(QStringLiteral("Stok_Ad")),
                                                     QHeaderView::Stretch);

    // Alt and the underlined letter press a button from anywhere on the window.
    TamamBtn = Dugme(this, "TamamBtn", QStringLiteral("&STOKLARI GÖSTER"));
    SilBtn = Dugme(this, "SilBtn", QStringLiteral("İŞLEM &LİSTESİNDEN SİL"));
    DosyaOlusturBtn = Dugme(this, "DosyaOlusturBtn", QStringLiteral("DOSYA &OLUŞTUR"));
    DosyadanOkuBtn = Dugme(this, "DosyadanOkuBtn", QStringLiteral("DOSYADAN &AL"));
    OnizleBtn = Dugme(this, "OnizleBtn", QStringLiteral("Ö&NİZLE"));
    YazdirBtn = Dugme(this, "YazdirBtn", QStringLiteral("LİSTEYİ &YAZDIR"));
    CikisBtn = Dugme(this, "CikisBtn", QStringLiteral("ÇI&KIŞ"));
    TamamBtn->setToolTip(QStringLiteral("F2, Alt+S"));
    SilBtn->setToolTip(QStringLiteral("Alt+L"));
    DosyaOlusturBtn->setToolTip(QStringLiteral("Alt+O"));
    DosyadanOkuBtn->setToolTip(QStringLiteral("Alt+A"));
    OnizleBtn->setToolTip(QStringLiteral("F5, Alt+N: DOSYADAN AL'ın yapacaklarını yazmadan gösterir"));
    YazdirBtn->setToolTip(QStringLiteral("Alt+Y"));
    CikisBtn->setToolTip(QStringLiteral("F3, Alt+K"));

    Kayit_SayisiLbl = new QLabel(KayitSayisiBasligi, this);
    Kayit_SayisiLbl->setObjectName(QStringLiteral("Kayit_SayisiLbl"));
    QFont kalin = Kayit_SayisiLbl->font();
    kalin.setBold(true);
    Kayit_SayisiLbl->setFont(kalin);
    FirmaLbl = new QLabel(this);
    FirmaLbl->setObjectName(QStringLiteral("FirmaLbl"));
    FirmaLbl->setFont(kalin);

    FrameBar = new QFrame(this);
    FrameBar->setObjectName(QStringLiteral("FrameBar"));
    FrameBar->setFrameShape(QFrame::StyledPanel);
    // The status text stays readable after the progress frame hides.
    MesajLbl = new QLabel(QStringLiteral("Yedekleme İçin Gerekli Bilgiler Toplanıyor"), this);
    MesajLbl->setObjectName(QStringLiteral("MesajLbl"));
    // A long card name is cut at the label's edge instead of widening the window.
    MesajLbl->setMinimumWidth(1);
    MesajLbl->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    MesajLbl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    BarFrame = new QGroupBox(QStringLiteral("% 0"), FrameBar);
    BarFrame->setObjectName(QStringLiteral("BarFrame"));
    KartBar = new QProgressBar(BarFrame);
    KartBar->setObjectName(QStringLiteral("KartBar"));
    KartBar->setTextVisible(false);
    auto *barDuzen = new QVBoxLayout(BarFrame);
    barDuzen->addWidget(KartBar);
    auto *frameDuzen = new QHBoxLayout(FrameBar);
    frameDuzen->addWidget(BarFrame, 1);
    FrameBar->setVisible(false);

    auto *bolucu = new QSplitter(Qt::Horizontal, this);
    bolucu->addWidget(FiltreGrd);
    bolucu->addWidget(Fisgrd);
    bolucu->setStretchFactor(0, 0);
    bolucu->setStretchFactor(1, 1);
    bolucu->setChildrenCollapsible(false);

    auto *durumDuzen = new QHBoxLayout;
    durumDuzen->addWidget(Kayit_SayisiLbl);
    durumDuzen->addSpacing(24);
    durumDuzen->addWidget(FirmaLbl);
    durumDuzen->addSpacing(24);
    durumDuzen->addWidget(MesajLbl, 1);

    auto *dugmeler = new QHBoxLayout;
    for (QPushButton *d : {TamamBtn, SilBtn, DosyaOlusturBtn, OnizleBtn, DosyadanOkuBtn, YazdirBtn})
        dugmeler->addWidget(d);
    dugmeler->addStretch(1);
    dugmeler->addWidget(CikisBtn);

    auto *duzen = new QVBoxLayout(this);
    duzen->addWidget(bolucu, 1);
    duzen->addLayout(durumDuzen);
    duzen->addWidget(FrameBar);
    duzen->addLayout(dugmeler);

    connect(TamamBtn, &QPushButton::clicked, this, &FiltreFrm::StoklariGoster);
    connect(SilBtn, &QPushButton::clicked, this, &FiltreFrm::ListedenSil);
    connect(DosyaOlusturBtn, &QPushButton::clicked, this, &FiltreFrm::DosyaOlusturKomutu);
    connect(DosyadanOkuBtn, &QPushButton::clicked, this, &FiltreFrm::DosyadanAlKomutu);
    connect(OnizleBtn, &QPushButton::clicked, this, &FiltreFrm::OnizleKomutu);
    connect(YazdirBtn, &QPushButton::clicked, this, &FiltreFrm::ListeyiYazdir);
    connect(CikisBtn, &QPushButton::clicked, this, &FiltreFrm::close);
}

void FiltreFrm::EkranaSigdir()
{
    QSize boyut(TasarimGenisligi, TasarimYuksekligi);
    const QScreen *ekran = screen();
    if (!ekran) {
        resize(boyut);
        return;
    }
    const QRect alan = ekran->availableGeometry();
    // Room for the title bar and borders a window manager adds around the window.
    boyut = boyut.boundedTo(alan.size() - QSize(PencereKenari, PencereBasligi + PencereKenari));
    resize(boyut.expandedTo(minimumSizeHint()));
    move(alan.topLeft() + QPoint(qMax(0, (alan.width() - width() - PencereKenari) / 2),
                                 qMax(0, (alan.height() - height() - PencereBasligi - PencereKenari) / 2)));
}

void FiltreFrm::FirmaGoster(const QString &kod, const QString &ad)
{
    const QString firma = kod.trimmed().isEmpty() ? ad.trimmed() : kod.trimmed() + QStringLiteral(" - ") + ad.trimmed();
    FirmaLbl->setText(QStringLiteral("FİRMA : ") + firma);
}

void FiltreFrm::Yukle()
{
    const int bas = m_filtre->ColIndex(QStringLiteral("Baslangic"));
    FiltreGrd->setCurrentIndex(m_filtre->index(0, bas));
    m_filtre->SetRowHidden(5, true);
    FiltreGrd->scrollTo(m_filtre->index(0, bas));
    SecenekleriDoldur(*m_filtre);
}

void FiltreFrm::KomutlariAc(bool acik)
{
    for (QPushButton *d : {TamamBtn, SilBtn, DosyaOlusturBtn, DosyadanOkuBtn, OnizleBtn, YazdirBtn, CikisBtn})
        d->setEnabled(acik);
}

void FiltreFrm::UzunKomut(const std::function<void()> &komut)
{
    if (m_mesgul)
        return;
    m_mesgul = true;
    KomutlariAc(false);
    struct Ac {
        FiltreFrm *f;
        ~Ac() { f->m_mesgul = false; f->KomutlariAc(true); }
    } ac{this};
    komut();
}

void FiltreFrm::StoklariGoster()
{
    UzunKomut([this] {
        // A value still being edited counts as entered.
        FiltreGrd->DuzenlemeyiBitir();
        // A refused statement leaves the list, its count and the export choices as they were.
        if (!SorguOlustur(*m_filtre, m_secim))
            return;
        const std::optional<int> sayi = StoklariListele(*m_fisgrd);
        // A listing that failed has emptied the list: no count of an earlier one beside it.
        Kayit_SayisiLbl->setText(sayi ? KayitSayisiMetni(*sayi) : KayitSayisiBasligi);
    });
}

void FiltreFrm::ListedenSil()
{
    FiltreGrd->DuzenlemeyiBitir();
    if (m_mesgul || Fisgrd->currentIndex().row() + 1 < 1)
        return;
    if (Operator().Mesaj(QStringLiteral("Seçili Stok aktrılmayacaktır Eminmisiniz"), Etkilesim::Simge::Soru,
                         Etkilesim::Dugmeler::EvetHayir) != Etkilesim::Evet)
        return;
    const int satir = Fisgrd->currentIndex().row() + 1;
    if (satir >= 1)
        m_fisgrd->RemoveItem(satir);
}

void FiltreFrm::ListeyiYazdir()
{
    FiltreGrd->DuzenlemeyiBitir();
    if (!m_mesgul)
        ::ListeyiYazdir(*Fisgrd, YazdirmaDiyalogAdimi);
}

void FiltreFrm::BugunuYaz()
{
    // Otherwise the editor, once left, would write its text over today's date.
    FiltreGrd->DuzenlemeyiBitir();
    const QString bugun = Bugun().toString(QStringLiteral("dd.MM.yyyy"));
    m_filtre->SetTextMatrix(1, m_filtre->ColIndex(QStringLiteral("Baslangic")), bugun);
    m_filtre->SetTextMatrix(1, m_filtre->ColIndex(QStringLiteral("Bitis")), bugun);
}

void FiltreFrm::DosyaOlusturKomutu()
{
    FiltreGrd->DuzenlemeyiBitir();
    // The listed cards, with the choices of the last query build.
    UzunKomut([this] { DosyaOlustur(*m_fisgrd, m_secim); });
}

void FiltreFrm::DosyadanAlKomutu()
{
    FiltreGrd->DuzenlemeyiBitir();
    UzunKomut([] { DosyadanAl(); });
}

void FiltreFrm::OnizleKomutu()
{
    FiltreGrd->DuzenlemeyiBitir();
    UzunKomut([] { Onizle(); });
}

bool FiltreFrm::TusuIsle(int tus)
{
    switch (tus) {
    case Qt::Key_F2: StoklariGoster(); return true;
    case Qt::Key_F3: close(); return true;
    case Qt::Key_F5: OnizleKomutu(); return true;
    case Qt::Key_F9: BugunuYaz(); return true;
    default: return false;
    }
}

bool FiltreFrm::eventFilter(QObject *nesne, QEvent *olay)
{
    // Key preview: the window acts on F2, F3, F5 and F9 first; the key goes on to the control.
    if (olay->type() == QEvent::KeyRelease) {
        m_sonTusAlan = nullptr;
    } else if (olay->type() == QEvent::KeyPress && nesne->isWidgetType()) {
        auto *w = static_cast<QWidget *>(nesne);
        const int tus = static_cast<QKeyEvent *>(olay)->key();
        if (w->window() != this || (tus != Qt::Key_F2 && tus != Qt::Key_F3 && tus != Qt::Key_F5 && tus != Qt::Key_F9))
            return false;
        // A key a control ignores travels on to its parents: act on it once.
        const bool yolda = m_sonTusAlan && m_sonTus == tus && m_sonTusAlan != nesne
                           && w->isAncestorOf(qobject_cast<QWidget *>(m_sonTusAlan));
        if (yolda)
            return false;
        m_sonTusAlan = nesne;
        m_sonTus = tus;
        if (!m_mesgul)
            TusuIsle(tus);
    }
    return false;
}

void FiltreFrm::closeEvent(QCloseEvent *olay)
{
    FiltreGrd->DuzenlemeyiBitir();
    // A running transfer is not cut off half-way; the window closes once it is done.
    if (m_mesgul) {
        olay->ignore();
        return;
    }
    olay->accept();
    Q_EMIT ProgramBitti();
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::quit();
}

void FiltreFrm::KartBarAyarla(double maksimum, double deger)
{
    KartBar->setMaximum(qMax(0, int(maksimum)));
    KartBar->setValue(qBound(0, int(deger), KartBar->maximum()));
}

void FiltreFrm::BarFrameYaz(const QString &baslik)
{
    if (BarFrame->title() != baslik)
        BarFrame->setTitle(baslik);
}

void FiltreFrm::FrameBarGoster(bool gorunur)
{
    FrameBar->setVisible(gorunur);
}

void FiltreFrm::MesajLblYaz(const QString &metin)
{
    MesajLbl->setText(metin);
}
