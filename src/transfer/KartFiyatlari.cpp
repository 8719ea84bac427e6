// The price rows of a card: KartYazici's part that reads, compares and writes STOKFIYAT.
#include "transfer/KartYazici.h"

#include "state/DegerMetin.h"
#include "state/Degiskenler.h"
#include "state/HazirKomut.h"

using namespace Degiskenler;

namespace {

// The NULL of a column's kind: bound without a type, SQL Server takes it for binary, which a
// number column (or a CASE among numbers) does not take.
QVariant TipliBos(const SutunBilgisi &sutun)
{
    switch (sutun.tip) {
    case SutunTipi::TamSayi:
        return QVariant(QMetaType::fromType<qlonglong>());
    case SutunTipi::Ondalik:
        return QVariant(QMetaType::fromType<double>());
    case SutunTipi::Bit:
        return QVariant(QMetaType::fromType<bool>());
    case SutunTipi::Tarih:
        return Baglanti.SaklanacakDeger(QString(), sutun);
    default:
        return QVariant(QMetaType::fromType<QString>());
    }
}

// What an empty value of a price line writes into a stored row that differs: an empty text
// into a text column, NULL elsewhere.
QVariant YazilacakFiyat(QStringView metin, const SutunBilgisi &sutun)
{
    if (!metin.isEmpty())
        return MetinDegeri(metin, sutun, Baglanti.ArkaUcu());
    if (sutun.tip == SutunTipi::SabitMetin || sutun.tip == SutunTipi::DegiskenMetin)
        return QVariant(QStringLiteral(""));
    return TipliBos(sutun);
}

bool Farkli(const QVariant &deger, const SutunBilgisi &sutun, QStringView metin)
{
    if (!deger.isValid() || deger.isNull())
        return false;
    return !AyniMetin(deger, sutun.tip, metin);
}

// A statement stays well under every backend's limit of bound values.
constexpr int EnCokDeger = 900;

} // namespace

void KartYazici::FiyatlariOku(const QVariant &id)
{
    const int f = int(m_fiyatSutunlari.size());
    HazirKomut &sorgu = Komut(m_fiyatSorgusu);
    sorgu.Bagla(0, id);
    sorgu.Yurut();
    while (sorgu.Sonraki()) {
        const QVariant ilk = sorgu.Deger(0);
        const int seviye = ilk.toInt();
        if (FiyatSatiriBul(seviye))
            continue; // a level stored twice: the first row is the card's
        FiyatSatiri &fs = YeniFiyatSatiri(seviye);
        fs.deger[0] = ilk;
        for (int i = 1; i < f; ++i)
            fs.deger[size_t(i)] = sorgu.Deger(i);
    }
    sorgu.Bitir();
}

KartYazici::FiyatSatiri *KartYazici::FiyatSatiriBul(int seviye)
{
    for (int i = 0; i < m_fiyatSatirSayisi; ++i)
        if (m_fiyatSatirlari[size_t(i)].seviye == seviye)
            return &m_fiyatSatirlari[size_t(i)];
    return nullptr;
}

KartYazici::FiyatSatiri &KartYazici::YeniFiyatSatiri(int seviye)
{
    if (size_t(m_fiyatSatirSayisi) == m_fiyatSatirlari.size())
        m_fiyatSatirlari.emplace_back();
    FiyatSatiri &fs = m_fiyatSatirlari[size_t(m_fiyatSatirSayisi++)];
    const int f = int(m_fiyatSutunlari.size());
    fs.seviye = seviye;
    fs.yeni = fs.yazilacak = false;
    fs.sira = 0;
    fs.deger.assign(size_t(f), QVariant());
    if (int(fs.yazim.var.size()) != f)
        fs.yazim.Boyutla(f);
    else
        fs.yazim.Temizle();
    return fs;
}

// Each line as if written one after the other: a line of a level not stored yet creates its
// row with every non-empty value; a later line of the same level, or a stored row, takes the
// values that differ. The writes of one level are merged, the later value winning.
bool KartYazici::FiyatYazimlariniBul(const KartKaydi &kart, int &yeniSatir, int &degisenSatir)
{
    const int f = int(m_fiyatSutunlari.size());
    bool yazilacak = false;
    for (int k = 0; k < kart.fiyatSayisi; ++k) {
        const std::vector<QStringView> &fl = kart.Fiyat(k).degerler;
        const int seviye = kart.seviyeler[size_t(k)];
        FiyatSatiri *fs = FiyatSatiriBul(seviye);
        if (!fs) {
            fs = &YeniFiyatSatiri(seviye);
            fs->yeni = fs->yazilacak = true;
            fs->sira = k;
            for (int i = 0; i < f; ++i) {
                if (i == 1 || fl[size_t(i)].isEmpty())
                    continue; // Stok_ID: the target's
                QVariant deger = MetinDegeri(fl[size_t(i)], m_fiyatTipleri[i], Baglanti.ArkaUcu());
                if (m_degisiklikler)
                    m_degisiklikler->FiyatSutunu(kart.stokKod, seviye, m_fiyatSutunlari[i], QVariant(), deger);
                fs->deger[size_t(i)] = deger;
                fs->yazim.Koy(i, std::move(deger));
            }
            ++yeniSatir;
            yazilacak = true;
            continue;
        }
        bool degisti = false;
        for (int i = 0; i < f; ++i) {
            if (i == 1 || !Farkli(fs->deger[size_t(i)], m_fiyatTipleri[i], fl[size_t(i)]))
                continue;
            QVariant deger = YazilacakFiyat(fl[size_t(i)], m_fiyatTipleri[i]);
            if (m_degisiklikler)
                m_degisiklikler->FiyatSutunu(kart.stokKod, seviye, m_fiyatSutunlari[i], fs->deger[size_t(i)], deger);
            fs->deger[size_t(i)] = deger;
            fs->yazim.Koy(i, std::move(deger));
            degisti = true;
        }
        if (degisti) {
            fs->yazilacak = true;
            yazilacak = true;
            ++degisenSatir; // counted per line, as a write after the row's first

        }
    }
    return yazilacak;
}

// New rows in the order of their first lines, so that their identities follow the file; a run
// of rows that carry the same columns goes in one INSERT (an absent column keeps its default).
void KartYazici::YeniFiyatlariYaz(const QVariant &id)
{
    const int f = int(m_fiyatSutunlari.size());
    std::vector<const FiyatSatiri *> yeniler;
    for (int i = 0; i < m_fiyatSatirSayisi; ++i)
        if (m_fiyatSatirlari[size_t(i)].yeni)
            yeniler.push_back(&m_fiyatSatirlari[size_t(i)]);
    std::sort(yeniler.begin(), yeniler.end(), [](const FiyatSatiri *a, const FiyatSatiri *b) { return a->sira < b->sira; });
    for (size_t bas = 0; bas < yeniler.size();) {
        const std::vector<char> &bicim = yeniler[bas]->yazim.var;
        int sutunSayisi = 1;
        for (int s = 0; s < f; ++s)
            sutunSayisi += bicim[size_t(s)];
        const size_t parca = size_t(qMax(1, EnCokDeger / sutunSayisi));
        size_t son = bas + 1;
        while (son < yeniler.size() && son - bas < parca && yeniler[son]->yazim.var == bicim)
            ++son;
        const int satirSayisi = int(son - bas);
        m_anahtar.resize(0);
        m_anahtar += 'I';
        m_anahtar += QByteArrayView(bicim.data(), qsizetype(bicim.size()));
        m_anahtar += QByteArray::number(satirSayisi);
        HazirKomut &komut = Komut(m_anahtar, [&] {
            QStringList adlar;
            for (int s = 0; s < f; ++s)
                if (bicim[size_t(s)])
                    adlar << m_fiyatSutunlari[s];
            adlar << QStringLiteral("Stok_ID");
            const QString yer = QLatin1Char('(') + QStringLiteral("?,").repeated(adlar.size() - 1) + QStringLiteral("?)");
            QStringList satirlar;
            for (int i = 0; i < satirSayisi; ++i)
                satirlar << yer;
            return QStringLiteral("INSERT INTO STOKFIYAT (%1) VALUES %2").arg(adlar.join(QLatin1Char(',')), satirlar.join(QLatin1Char(',')));
        });
        int yer = 0;
        for (size_t i = bas; i < son; ++i) {
            for (int s = 0; s < f; ++s)
                if (bicim[size_t(s)])
                    komut.Bagla(yer++, yeniler[i]->yazim.deger[size_t(s)]);
            komut.Bagla(yer++, id);
        }
        komut.Yurut();
        komut.Bitir();
        bas = son;
    }
}

// Changed rows with one UPDATE: column = CASE WHEN level=? THEN ? ... ELSE column END. A level
// that does not change the column is bound as NULL, which matches no row, so that the
// statement's shape depends only on the columns and the number of levels.
void KartYazici::DegisenFiyatlariYaz(const QVariant &id)
{
    const int f = int(m_fiyatSutunlari.size());
    std::vector<const FiyatSatiri *> degisenler;
    for (int i = 0; i < m_fiyatSatirSayisi; ++i) {
        const FiyatSatiri &fs = m_fiyatSatirlari[size_t(i)];
        if (!fs.yeni && fs.yazilacak)
            degisenler.push_back(&fs);
    }
    if (degisenler.empty())
        return;
    std::sort(degisenler.begin(), degisenler.end(), [](const FiyatSatiri *a, const FiyatSatiri *b) { return a->seviye < b->seviye; });
    std::vector<int> sutunlar;
    for (int s = 0; s < f; ++s)
        for (const FiyatSatiri *y : degisenler)
            if (y->yazim.var[size_t(s)]) {
                sutunlar.push_back(s);
                break;
            }
    const int parca = qMax(1, EnCokDeger / (2 * int(sutunlar.size()) + 2));
    const QVariant bosSeviye{QMetaType(QMetaType::Int)};
    for (int bas = 0; bas < int(degisenler.size()); bas += parca) {
        const int son = qMin(int(degisenler.size()), bas + parca);
        m_anahtar.resize(0);
        m_anahtar += 'U';
        for (int s : sutunlar)
            m_anahtar += char(s + 1);
        m_anahtar += QByteArray::number(son - bas);
        HazirKomut &komut = Komut(m_anahtar, [&] {
            QStringList atamalar;
            for (int s : sutunlar) {
                const QString &ad = m_fiyatSutunlari[s];
                QString atama = ad + QStringLiteral("=CASE");
                for (int i = bas; i < son; ++i)
                    atama += QStringLiteral(" WHEN Fiyat_Sira_No=? THEN ?");
                atamalar << atama + QStringLiteral(" ELSE ") + ad + QStringLiteral(" END");
            }
            return QStringLiteral("UPDATE STOKFIYAT SET %1 WHERE Stok_ID=? AND Fiyat_Sira_No IN (%2)")
                .arg(atamalar.join(QLatin1Char(',')), QStringLiteral("?,").repeated(son - bas - 1) + QStringLiteral("?"));
        });
        int yer = 0;
        for (int s : sutunlar) {
            for (int i = bas; i < son; ++i) {
                const FiyatSatiri &y = *degisenler[size_t(i)];
                const bool var = y.yazim.var[size_t(s)];
                komut.Bagla(yer++, var ? QVariant(y.seviye) : bosSeviye);
                komut.Bagla(yer++, var ? y.yazim.deger[size_t(s)] : TipliBos(m_fiyatTipleri[s]));
            }
        }
        komut.Bagla(yer++, id);
        for (int i = bas; i < son; ++i)
            komut.Bagla(yer++, QVariant(degisenler[size_t(i)]->seviye));
        komut.Yurut();
        komut.Bitir();
    }
}
