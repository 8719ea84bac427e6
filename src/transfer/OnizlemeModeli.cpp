#include "transfer/OnizlemeModeli.h"

void OnizlemeModeli::KartAlindi(RaporKarti &&kart)
{
    const int satir = int(m_kartlar.size());
    beginInsertRows(QModelIndex(), satir, satir);
    m_kartlar.push_back(std::move(kart));
    endInsertRows();
}

int OnizlemeModeli::rowCount(const QModelIndex &ust) const
{
    return ust.isValid() ? 0 : int(m_kartlar.size());
}

int OnizlemeModeli::columnCount(const QModelIndex &ust) const
{
    return ust.isValid() ? 0 : SutunSayisi;
}

QString OnizlemeModeli::DurumMetni(KartDurumu durum)
{
    switch (durum) {
    case KartDurumu::Olusturuldu: return QStringLiteral("Oluşturulan");
    case KartDurumu::Guncellendi: return QStringLiteral("Değişen");
    case KartDurumu::Degismedi: break;
    }
    return QStringLiteral("Değişmeyen");
}

QVariant OnizlemeModeli::data(const QModelIndex &indeks, int rol) const
{
    if (!indeks.isValid() || size_t(indeks.row()) >= m_kartlar.size())
        return QVariant();
    const RaporKarti &k = m_kartlar[size_t(indeks.row())];
    if (rol == DurumRolu)
        return int(k.durum);
    if (rol != Qt::DisplayRole && rol != Qt::ToolTipRole)
        return QVariant();
    switch (indeks.column()) {
    case StokKod: return k.stokKod;
    case StokAd: return k.stokAd;
    case Durum: return DurumMetni(k.durum);
    case Degisiklik: {
        // The changed columns by name, each once: the detail table below has the values.
        QStringList adlar;
        for (const RaporSatiri &s : k.satirlar) {
            // A created row is named by itself, a changed value by its column.
            const QString ad = s.sutun.isEmpty()                                                     ? s.ne
                               : s.ne == QLatin1String("Kart") || s.ne.startsWith(QLatin1String("Fiyat Tanımı")) ? s.sutun
                                                                                                      : s.ne + QLatin1Char(' ') + s.sutun;
            if (!adlar.contains(ad))
                adlar << ad;
        }
        return adlar.join(QStringLiteral(", "));
    }
    }
    return QVariant();
}

QVariant OnizlemeModeli::headerData(int bolum, Qt::Orientation yon, int rol) const
{
    if (yon != Qt::Horizontal || rol != Qt::DisplayRole)
        return QAbstractTableModel::headerData(bolum, yon, rol);
    switch (bolum) {
    case StokKod: return QStringLiteral("Stok Kodu");
    case StokAd: return QStringLiteral("Stok Adı");
    case Durum: return QStringLiteral("Durum");
    case Degisiklik: return QStringLiteral("Değişen Sütunlar");
    }
    return QVariant();
}

OnizlemeDetayModeli::OnizlemeDetayModeli(const OnizlemeModeli &kartlar, QObject *ust)
    : QAbstractTableModel(ust), m_kartlar(kartlar)
{
}

void OnizlemeDetayModeli::KartSec(int satir)
{
    beginResetModel();
    const auto &k = m_kartlar.Kartlar();
    m_kart = satir >= 0 && size_t(satir) < k.size() ? &k[size_t(satir)] : nullptr;
    endResetModel();
}

int OnizlemeDetayModeli::rowCount(const QModelIndex &ust) const
{
    return ust.isValid() || !m_kart ? 0 : int(m_kart->satirlar.size());
}

int OnizlemeDetayModeli::columnCount(const QModelIndex &ust) const
{
    return ust.isValid() ? 0 : SutunSayisi;
}

QVariant OnizlemeDetayModeli::data(const QModelIndex &indeks, int rol) const
{
    if (!m_kart || !indeks.isValid() || size_t(indeks.row()) >= m_kart->satirlar.size()
        || (rol != Qt::DisplayRole && rol != Qt::ToolTipRole))
        return QVariant();
    const RaporSatiri &s = m_kart->satirlar[size_t(indeks.row())];
    switch (indeks.column()) {
    case Ne: return s.ne;
    case SutunAdi: return s.sutun;
    case Eski: return s.eski;
    case Yeni: return s.yeni;
    }
    return QVariant();
}

QVariant OnizlemeDetayModeli::headerData(int bolum, Qt::Orientation yon, int rol) const
{
    if (yon != Qt::Horizontal || rol != Qt::DisplayRole)
        return QAbstractTableModel::headerData(bolum, yon, rol);
    switch (bolum) {
    case Ne: return QStringLiteral("Kayıt");
    case SutunAdi: return QStringLiteral("Sütun");
    case Eski: return QStringLiteral("Eski Değer");
    case Yeni: return QStringLiteral("Yeni Değer");
    }
    return QVariant();
}

QString OnizlemeyiYaz(const OnizlemeModeli &model, const QString &yol, const QString &firma)
{
    RaporDosyasi dosya(yol, firma);
    QString hata = dosya.Ac();
    if (!hata.isEmpty())
        return hata;
    for (const RaporKarti &k : model.Kartlar())
        dosya.KartAlindi(RaporKarti(k));
    return dosya.Bitir();
}
