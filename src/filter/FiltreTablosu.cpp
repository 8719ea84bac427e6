#include "filter/FiltreTablosu.h"

namespace {

const QString E = QStringLiteral("Evet|Hayır");
const QString B = QStringLiteral("Farketmez|HİÇBİRİ|EAN 13|EAN 8|CODE 39|CODE 93|CODE 128|UPC-A|UPC-E|GRAMAJ|ADETLİ");
const QString S = QStringLiteral("Farketmez|Küçük|Büyük|Eşit");
const QString A = QStringLiteral("Hepsi|Satış|Alış");

// FiltreLbl, Baslangic, Bitis, Ayirac, Alan, Secenek, Tip, Girsin (column 0 stays empty).
struct Kriter {
    const char *lbl, *baslangic, *ayirac, *alan;
    const QString *secenek;
    const char *tip, *girsin;
};

const Kriter Kriterler[] = {
    {"Tarih", "", "0", "STOKKART.Yr_Tarih", nullptr, "TR", "0"},
    {"Stoğa Yeni Giren", "Hayır", "0", "", &E, "TK", "0"},
    {"Fiyatı Belirlenmemiş", "Hayır", "0", "", &E, "TK", "0"},
    {"Fiyatı Değişmiş", "Hayır", "0", "", &E, "TK", "0"},
    {"Satış Fiyatı Değişmiş", "Hayır", "0", "", nullptr, "TK", "0"},
    {"Stok Kodu", "", "0", "STOKKART.Stok_Kod", nullptr, "GR", "-1"},
    {"Stok Adı", "", "0", "STOKKART.Stok_Ad", nullptr, "GR", "-1"},
    {"Özel Kodu", "Farketmez", "0", "STOKKART.O_Kod", nullptr, "TK", "-1"},
    {"2. Özel Kodu", "Farketmez", "0", "STOKKART.O_Kod2", nullptr, "TK", "-1"},
    {"3. Özel Kodu", "Farketmez", "0", "STOKKART.O_Kod3", nullptr, "TK", "-1"},
    {"Grup Kodu", "Farketmez", "0", "STOKKART.Grup_Kod", nullptr, "TK", "-1"},
    {"Üretici Firma", "Farketmez", "0", "STOKKART.Uretici_Firma", nullptr, "TK", "-1"},
    {"KDV Oranı", "Hepsi", "1", "STOKKART.KDV", nullptr, "TK", "-1"},
    {"KDV Grubu", "Hepsi", "0", "KDVGRUPLARI.Departman_No", nullptr, "TK", "-1"},
    {"Ana Birimi", "Hepsi", "0", "STOKKART.Ana_Birim", nullptr, "TK", "-1"},
    {"Barkod Tipi", "Farketmez", "0", "", &B, "TK", "0"},
    {"Barkodu", "", "0", "STOKKART.Ana_Birim_Barkod", nullptr, "TK", "-1"},
    {"Alış İskontosu", "", "1", "STOKKART.ISK_Alis", nullptr, "GR", "-1"},
    {"Satış İskontosu", "", "1", "STOKKART.ISK_Satis", nullptr, "GR", "-1"},
    {"Minimum Seviye", "Farketmez", "1", "", &S, "TK", "0"},
    {"Optimum Seviye", "Farketmez", "1", "", &S, "TK", "0"},
    {"Maxsimum Seviye", "Farketmez", "1", "", &S, "TK", "0"},
    {"Alış/Satış", "Hepsi", "", "", &A, "TK", "0"},
};

enum Sutun { Bos, Lbl, Bas, Bit, Ayr, Alan, Sec, Tip, Gir };

} // namespace

FiltreTablosu::FiltreTablosu(QObject *ust) : QAbstractTableModel(ust)
{
    Sifirla();
}

const std::array<QString, FiltreTablosu::SutunSayisi> &FiltreTablosu::Anahtarlar()
{
    static const std::array<QString, SutunSayisi> anahtarlar = {
        QString(), QStringLiteral("FiltreLbl"), QStringLiteral("Baslangic"), QStringLiteral("Bitis"),
        QStringLiteral("Ayirac"), QStringLiteral("Alan"), QStringLiteral("Secenek"), QStringLiteral("Tip"),
        QStringLiteral("Girsin")};
    return anahtarlar;
}

const std::array<QString, FiltreTablosu::SutunSayisi> &FiltreTablosu::Basliklar()
{
    static const std::array<QString, SutunSayisi> basliklar = {
        QString(), QStringLiteral("Filtre Adı"), QStringLiteral("Başlangıç Değeri"), QStringLiteral("Bitiş Değeri"),
        QStringLiteral("Ayıraç"), QStringLiteral("Alan_Adi"), QStringLiteral("Secenek"), QStringLiteral("Tip"),
        QStringLiteral("Girsin")};
    return basliklar;
}

void FiltreTablosu::Sifirla()
{
    beginResetModel();
    m_satirlar = QVector<Satir>(SatirSayisi);
    m_gizli = QVector<bool>(SatirSayisi, false);
    for (int c = 0; c < SutunSayisi; ++c)
        m_satirlar[0][c] = Basliklar()[c];
    int r = 1;
    for (const Kriter &k : Kriterler) {
        Satir &s = m_satirlar[r++];
        s[Lbl] = QString::fromUtf8(k.lbl);
        s[Bas] = QString::fromUtf8(k.baslangic);
        s[Ayr] = QString::fromUtf8(k.ayirac);
        s[Alan] = QString::fromUtf8(k.alan);
        s[Sec] = k.secenek ? *k.secenek : QString();
        s[Tip] = QString::fromUtf8(k.tip);
        s[Gir] = QString::fromUtf8(k.girsin);
    }
    for (int i = 1; r < SatirSayisi; ++i) {
        Satir &s = m_satirlar[r++];
        s[Lbl] = QStringLiteral("Fiyat%1").arg(i);
        s[Bas] = QStringLiteral("Evet");
        s[Sec] = E;
        s[Tip] = QStringLiteral("TK");
        s[Gir] = QStringLiteral("0");
    }
    endResetModel();
}

QString FiltreTablosu::TextMatrix(int satir, int sutun) const
{
    if (satir < 0 || satir >= SatirSayisi || sutun < 0 || sutun >= SutunSayisi)
        return QString();
    return m_satirlar[satir][sutun];
}

void FiltreTablosu::SetTextMatrix(int satir, int sutun, const QString &metin)
{
    if (satir < 0 || satir >= SatirSayisi || sutun < 0 || sutun >= SutunSayisi)
        return;
    if (m_satirlar[satir][sutun] == metin)
        return;
    m_satirlar[satir][sutun] = metin;
    if (satir == 0) {
        Q_EMIT headerDataChanged(Qt::Horizontal, sutun, sutun);
    } else {
        const QModelIndex yer = index(satir - 1, sutun);
        Q_EMIT dataChanged(yer, yer);
    }
}

int FiltreTablosu::ColIndex(const QString &anahtar) const
{
    for (int i = 1; i < SutunSayisi; ++i)
        if (Anahtarlar()[i] == anahtar)
            return i;
    return -1;
}

bool FiltreTablosu::RowHidden(int satir) const
{
    return satir >= 0 && satir < SatirSayisi && m_gizli[satir];
}

void FiltreTablosu::SetRowHidden(int satir, bool gizli)
{
    if (satir < 0 || satir >= SatirSayisi || m_gizli[satir] == gizli)
        return;
    m_gizli[satir] = gizli;
    Q_EMIT SatirGizlendi(satir, gizli);
}

int FiltreTablosu::SatirBul(const QString &baslik) const
{
    for (int r = 1; r < SatirSayisi; ++r)
        if (m_satirlar[r][Lbl] == baslik)
            return r;
    return -1;
}

QStringList FiltreTablosu::Secenekler(int satir) const
{
    QStringList ogeler = TextMatrix(satir, Sec).split(QLatin1Char('|'));
    if (!ogeler.isEmpty() && ogeler.constLast().isEmpty())
        ogeler.removeLast();
    return ogeler;
}

QString FiltreTablosu::SecenekDegeri(const QString &oge)
{
    return oge.section(QLatin1Char('\t'), 0, 0);
}

bool FiltreTablosu::SecenekteVar(int satir, const QString &deger) const
{
    const QStringList ogeler = Secenekler(satir);
    if (ogeler.isEmpty())
        return true;
    for (const QString &oge : ogeler)
        if (SecenekDegeri(oge) == deger)
            return true;
    return false;
}

bool FiltreTablosu::DegerYaz(const QString &baslik, const QString &anahtar, const QString &deger, QString *neden)
{
    const int satir = SatirBul(baslik);
    const int sutun = ColIndex(anahtar);
    auto red = [&](const QString &metin) {
        if (neden)
            *neden = metin;
        return false;
    };
    if (satir < 0)
        return red(QStringLiteral("\"%1\" adlı bir filtre yok.").arg(baslik));
    if (sutun != Bas && sutun != Bit)
        return red(QStringLiteral("Yalnızca Baslangic ve Bitis yazılabilir."));
    if (!SecenekteVar(satir, deger))
        return red(QStringLiteral("\"%1\" için \"%2\" seçilemez. Seçenekler: %3")
                       .arg(baslik, deger, Secenekler(satir).join(QStringLiteral(", "))));
    SetTextMatrix(satir, sutun, deger);
    return true;
}

int FiltreTablosu::rowCount(const QModelIndex &ust) const
{
    return ust.isValid() ? 0 : SatirSayisi - 1;
}

int FiltreTablosu::columnCount(const QModelIndex &ust) const
{
    return ust.isValid() ? 0 : SutunSayisi;
}

QVariant FiltreTablosu::data(const QModelIndex &indeks, int rol) const
{
    if (!indeks.isValid())
        return QVariant();
    const int satir = indeks.row() + 1;
    if (rol == Qt::DisplayRole || rol == Qt::EditRole)
        return TextMatrix(satir, indeks.column());
    if (rol == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

bool FiltreTablosu::setData(const QModelIndex &indeks, const QVariant &deger, int rol)
{
    if (!indeks.isValid() || rol != Qt::EditRole || !(flags(indeks) & Qt::ItemIsEditable))
        return false;
    SetTextMatrix(indeks.row() + 1, indeks.column(), deger.toString());
    return true;
}

QVariant FiltreTablosu::headerData(int bolum, Qt::Orientation yon, int rol) const
{
    if (yon == Qt::Horizontal && bolum >= 0 && bolum < SutunSayisi) {
        if (rol == Qt::DisplayRole)
            return m_satirlar[0][bolum];
        if (rol == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
    }
    if (yon == Qt::Vertical && rol == Qt::DisplayRole)
        return QString();
    return QVariant();
}

Qt::ItemFlags FiltreTablosu::flags(const QModelIndex &indeks) const
{
    if (!indeks.isValid())
        return Qt::NoItemFlags;
    // Only the value cells are ever current; the caption column is read, never edited.
    if (indeks.column() == Bas || indeks.column() == Bit)
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    return Qt::ItemIsEnabled;
}
