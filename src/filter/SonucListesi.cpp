#include "filter/SonucListesi.h"

SonucListesi::SonucListesi(QObject *ust) : QAbstractTableModel(ust) {}

const std::array<QString, SonucListesi::SutunSayisi> &SonucListesi::Anahtarlar()
{
    static const std::array<QString, SutunSayisi> anahtarlar = {
        QString(), QStringLiteral("Stok_Kod"), QStringLiteral("Stok_Ad"),
        QStringLiteral("Fiyat"), QStringLiteral("Fiyat_ID"), QStringLiteral("Stok_ID")};
    return anahtarlar;
}

const std::array<QString, SonucListesi::SutunSayisi> &SonucListesi::Basliklar()
{
    static const std::array<QString, SutunSayisi> basliklar = {
        QString(), QStringLiteral("Stok Kodu"), QStringLiteral("Stok Adı"),
        QStringLiteral("Fiyatı"), QStringLiteral("Fiyat_ID"), QStringLiteral("Stok_ID")};
    return basliklar;
}

void SonucListesi::SetRows(int satirSayisi)
{
    const int veri = qMax(0, satirSayisi - 1);
    if (veri == m_satirlar.size())
        return;
    if (veri < m_satirlar.size()) {
        beginRemoveRows(QModelIndex(), veri, int(m_satirlar.size()) - 1);
        m_satirlar.resize(veri);
        endRemoveRows();
    } else {
        beginInsertRows(QModelIndex(), int(m_satirlar.size()), veri - 1);
        m_satirlar.resize(veri);
        endInsertRows();
    }
}

QString SonucListesi::TextMatrix(int satir, int sutun) const
{
    if (sutun < 0 || sutun >= SutunSayisi)
        return QString();
    if (satir == 0)
        return Basliklar()[sutun];
    if (satir < 1 || satir > m_satirlar.size())
        return QString();
    return m_satirlar[satir - 1][sutun];
}

void SonucListesi::SetTextMatrix(int satir, int sutun, const QString &metin)
{
    if (satir < 1 || satir > m_satirlar.size() || sutun < 0 || sutun >= SutunSayisi)
        return;
    m_satirlar[satir - 1][sutun] = metin;
    const QModelIndex yer = index(satir - 1, sutun);
    Q_EMIT dataChanged(yer, yer);
}

int SonucListesi::ColIndex(const QString &anahtar) const
{
    for (int i = 1; i < SutunSayisi; ++i)
        if (Anahtarlar()[i] == anahtar)
            return i;
    return -1;
}

void SonucListesi::RemoveItem(int satir)
{
    if (satir < 1 || satir > m_satirlar.size())
        return;
    beginRemoveRows(QModelIndex(), satir - 1, satir - 1);
    m_satirlar.remove(satir - 1);
    endRemoveRows();
}

void SonucListesi::SatirlariEkle(QVector<Satir> satirlar)
{
    if (satirlar.isEmpty())
        return;
    beginInsertRows(QModelIndex(), int(m_satirlar.size()), int(m_satirlar.size() + satirlar.size()) - 1);
    if (m_satirlar.isEmpty())
        m_satirlar = std::move(satirlar);
    else
        for (Satir &satir : satirlar)
            m_satirlar.append(std::move(satir));
    endInsertRows();
}

int SonucListesi::rowCount(const QModelIndex &ust) const
{
    return ust.isValid() ? 0 : int(m_satirlar.size());
}

int SonucListesi::columnCount(const QModelIndex &ust) const
{
    return ust.isValid() ? 0 : SutunSayisi;
}

QVariant SonucListesi::data(const QModelIndex &indeks, int rol) const
{
    if (!indeks.isValid() || indeks.row() >= m_satirlar.size())
        return QVariant();
    if (rol == Qt::DisplayRole)
        return m_satirlar[indeks.row()][indeks.column()];
    if (rol == Qt::TextAlignmentRole)
        return indeks.column() == 3 ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

QVariant SonucListesi::headerData(int bolum, Qt::Orientation yon, int rol) const
{
    if (yon == Qt::Horizontal && rol == Qt::DisplayRole && bolum >= 0 && bolum < SutunSayisi)
        return Basliklar()[bolum];
    if (yon == Qt::Horizontal && rol == Qt::TextAlignmentRole)
        return bolum == 3 ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignCenter);
    return QVariant();
}
