#include "transfer/ui/OnizlemeFrm.h"

#include "common/ui/Dugme.h"
#include "transfer/OnizlemeModeli.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QTableView *Tablo(QWidget *ust, const char *ad)
{
    auto *t = new QTableView(ust);
    t->setObjectName(QLatin1String(ad));
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setAlternatingRowColors(true);
    t->setWordWrap(false);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(22);
    t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    return t;
}

} // namespace

OnizlemeFrm::OnizlemeFrm(const Onizleme &onizleme, QWidget *ust) : QDialog(ust), m_onizleme(onizleme)
{
    setObjectName(QStringLiteral("OnizlemeFrm"));
    setWindowTitle(QStringLiteral("Aktarım Önizlemesi"));

    QFont kalin = font();
    kalin.setBold(true);
    FirmaLbl = new QLabel(QStringLiteral("FİRMA : ") + onizleme.firma, this);
    FirmaLbl->setObjectName(QStringLiteral("FirmaLbl"));
    FirmaLbl->setFont(kalin);
    DosyaLbl = new QLabel(QStringLiteral("DOSYA : ") + QDir::toNativeSeparators(onizleme.yol), this);
    DosyaLbl->setObjectName(QStringLiteral("DosyaLbl"));
    DosyaLbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path is cut at the window's edge instead of widening it.
    DosyaLbl->setMinimumWidth(1);
    DosyaLbl->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    // The summary in two rows: cards, then prices and definitions.
    QStringList ozet = OzetMetni(onizleme.ozet).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    OzetLbl = new QLabel(this);
    OzetLbl->setObjectName(QStringLiteral("OzetLbl"));
    OzetLbl->setText(ozet.mid(0, 3).join(QStringLiteral("     ")) + QLatin1Char('\n')
                     + ozet.mid(3).join(QStringLiteral("     ")));

    TurCmb = new QComboBox(this);
    TurCmb->setObjectName(QStringLiteral("TurCmb"));
    TurCmb->addItem(QStringLiteral("Tümü"), -1);
    for (KartDurumu d : {KartDurumu::Olusturuldu, KartDurumu::Guncellendi, KartDurumu::Degismedi})
        TurCmb->addItem(OnizlemeModeli::DurumMetni(d), int(d));
    auto *turLbl = new QLabel(QStringLiteral("&Göster :"), this);
    turLbl->setBuddy(TurCmb);

    m_suzgec = new QSortFilterProxyModel(this);
    m_suzgec->setSourceModel(onizleme.model);
    m_suzgec->setFilterKeyColumn(OnizlemeModeli::Durum);
    m_suzgec->setFilterRole(OnizlemeModeli::DurumRolu);
    m_suzgec->setSortLocaleAware(true);
    KartlarGrd = Tablo(this, "KartlarGrd");
    KartlarGrd->setModel(m_suzgec);
    KartlarGrd->setSortingEnabled(true);
    KartlarGrd->sortByColumn(-1, Qt::AscendingOrder); // file order until a header is clicked
    KartlarGrd->setColumnWidth(OnizlemeModeli::StokKod, 130);
    KartlarGrd->setColumnWidth(OnizlemeModeli::StokAd, 300);
    KartlarGrd->setColumnWidth(OnizlemeModeli::Durum, 110);
    KartlarGrd->horizontalHeader()->setStretchLastSection(true);

    m_detay = new OnizlemeDetayModeli(*onizleme.model, this);
    DetayGrd = Tablo(this, "DetayGrd");
    DetayGrd->setModel(m_detay);
    DetayGrd->setColumnWidth(OnizlemeDetayModeli::Ne, 130);
    DetayGrd->setColumnWidth(OnizlemeDetayModeli::SutunAdi, 170);
    DetayGrd->horizontalHeader()->setSectionResizeMode(OnizlemeDetayModeli::Eski, QHeaderView::Stretch);
    DetayGrd->horizontalHeader()->setSectionResizeMode(OnizlemeDetayModeli::Yeni, QHeaderView::Stretch);

    auto *bolucu = new QSplitter(Qt::Vertical, this);
    bolucu->addWidget(KartlarGrd);
    bolucu->addWidget(DetayGrd);
    bolucu->setStretchFactor(0, 3);
    bolucu->setStretchFactor(1, 2);
    bolucu->setChildrenCollapsible(false);

    KaydetBtn = Dugme(this, "KaydetBtn", QStringLiteral("&CSV OLARAK KAYDET"));
    AktarBtn = Dugme(this, "AktarBtn", QStringLiteral("AKTARIMI &BAŞLAT"));
    KapatBtn = Dugme(this, "KapatBtn", QStringLiteral("&KAPAT"));

    auto *ust1 = new QHBoxLayout;
    ust1->addWidget(FirmaLbl);
    ust1->addSpacing(24);
    ust1->addWidget(DosyaLbl, 1);
    auto *ust2 = new QHBoxLayout;
    ust2->addWidget(OzetLbl, 1);
    ust2->addWidget(turLbl);
    ust2->addWidget(TurCmb);
    auto *dugmeler = new QHBoxLayout;
    dugmeler->addWidget(KaydetBtn);
    dugmeler->addStretch(1);
    dugmeler->addWidget(AktarBtn);
    dugmeler->addWidget(KapatBtn);
    auto *duzen = new QVBoxLayout(this);
    duzen->addLayout(ust1);
    duzen->addLayout(ust2);
    duzen->addWidget(bolucu, 1);
    duzen->addLayout(dugmeler);

    connect(TurCmb, &QComboBox::currentIndexChanged, this, &OnizlemeFrm::TurSec);
    connect(KartlarGrd->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &OnizlemeFrm::KartSecildi);
    connect(m_suzgec, &QAbstractItemModel::layoutChanged, this, &OnizlemeFrm::KartSecildi);
    connect(KaydetBtn, &QPushButton::clicked, this, [this] { OnizlemeyiKaydet(m_onizleme); });
    connect(AktarBtn, &QPushButton::clicked, this, [this] { done(Aktar); });
    connect(KapatBtn, &QPushButton::clicked, this, &QDialog::reject);

    QSize boyut(1000, 700);
    if (const QScreen *ekran = ust ? ust->screen() : screen())
        boyut = boyut.boundedTo(ekran->availableGeometry().size() - QSize(16, 48));
    resize(boyut);
    if (m_suzgec->rowCount() > 0)
        KartlarGrd->setCurrentIndex(m_suzgec->index(0, 0));
}

void OnizlemeFrm::TurSec(int secim)
{
    const int durum = TurCmb->itemData(secim).toInt();
    m_suzgec->setFilterRegularExpression(durum < 0 ? QString() : QStringLiteral("^%1$").arg(durum));
    KartSecildi();
}

void OnizlemeFrm::KartSecildi()
{
    const QModelIndex secili = KartlarGrd->currentIndex();
    m_detay->KartSec(secili.isValid() ? m_suzgec->mapToSource(secili).row() : -1);
}
