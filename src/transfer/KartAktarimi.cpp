#include "transfer/KartAktarimi.h"

#include "common/Ilerleme.h"
#include "common/Saat.h"
#include "state/DegerMetin.h"
#include "state/Degiskenler.h"
#include "state/Hata.h"
#include "state/HazirKomut.h"
#include "transfer/AktarimDosyasi.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>
#include <memory>

using namespace Degiskenler;

namespace {

const QString FormatHatasi = QStringLiteral("Dosya Formatı Hatası Dosya Ravelkoi İçinygun Dosya Değil.");
const QString KartBaslikHatasi = QStringLiteral("STOK OKMA PARAMETRESİ ADET HATASI ");
const QString FiyatBaslikHatasi = QStringLiteral("STOK OKMA PARAMETRESİ HATASI");

// A whole number of the file that goes into a statement: digits only, 16 bits.
std::optional<qint16> TamSayiDegeri(const QString &metin)
{
    static const QRegularExpression bicim(QStringLiteral(R"(^\s*[+-]?\d{1,6}\s*$)"));
    if (!bicim.match(metin).hasMatch())
        return std::nullopt;
    const int sayi = metin.trimmed().toInt();
    if (sayi < -32768 || sayi > 32767)
        return std::nullopt;
    return qint16(sayi);
}

bool IcerirMi(const QStringList &adlar, const QString &ad)
{
    for (const QString &a : adlar)
        if (a.compare(ad, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// What an empty file value writes into a column whose stored value differs: NULL for
// dates, an empty text for text columns, "0" for the rest (numbers, bits).
QVariant BosDeger(const SutunBilgisi &sutun, bool bosSifirdir)
{
    switch (sutun.tip) {
    case SutunTipi::Tarih:
        return Baglanti.SaklanacakDeger(QString(), sutun);
    case SutunTipi::SabitMetin:
    case SutunTipi::DegiskenMetin:
        return QVariant(QStringLiteral(""));
    default:
        return bosSifirdir ? Baglanti.SaklanacakDeger(QStringLiteral("0"), sutun) : QVariant();
    }
}

// The value a text of the file stores in a column, as MetinDegeri gives it. Plain numbers,
// nearly every value of a price line, are read here without building a text first.
QVariant MetinDegeriHizli(QStringView metin, const SutunBilgisi &sutun)
{
    if ((sutun.tip == SutunTipi::Ondalik || sutun.tip == SutunTipi::TamSayi) && !metin.isEmpty() && metin.size() < 64) {
        // [+-]digits[,digits] or [+-],digits in ASCII, read as MetinDegeri reads it.
        char tampon[64];
        int k = 0;
        qsizetype i = 0;
        if (metin[0] == QLatin1Char('+') || metin[0] == QLatin1Char('-')) {
            if (metin[0] == QLatin1Char('-'))
                tampon[k++] = '-';
            ++i;
        }
        bool virgul = false, rakam = false, uygun = true;
        for (; i < metin.size(); ++i) {
            const char16_t c = metin[i].unicode();
            if (c >= '0' && c <= '9') {
                rakam = true;
                tampon[k++] = char(c);
            } else if (c == ',' && !virgul) {
                virgul = true;
                tampon[k++] = '.';
            } else {
                uygun = false;
                break;
            }
        }
        double sayi = 0;
        if (uygun && rakam) {
            const auto [son, hata] = std::from_chars(tampon, tampon + k, sayi);
            if (hata == std::errc() && son == tampon + k) {
                if (sutun.tip == SutunTipi::Ondalik)
                    return QVariant(sayi);
                if (sayi == std::trunc(sayi) && std::fabs(sayi) <= 9.2e18)
                    return QVariant(static_cast<qlonglong>(sayi));
            }
        }
    }
    return Baglanti.SaklanacakDeger(metin.toString(), sutun);
}

QVariant YazilacakDeger(QStringView metin, const SutunBilgisi &sutun, bool bosSifirdir)
{
    if (metin.isEmpty())
        return BosDeger(sutun, bosSifirdir);
    return MetinDegeriHizli(metin, sutun);
}

// The stored value's text against the file's: a NULL never differs.
bool Farkli(const QVariant &deger, const SutunBilgisi &sutun, QStringView metin)
{
    if (!deger.isValid() || deger.isNull())
        return false;
    return QStringView(DegerMetni(deger, sutun.tip)).trimmed() != metin;
}

bool AyniDeger(const QVariant &eski, const QVariant &yeni, const SutunBilgisi &sutun)
{
    const bool eskiBos = !eski.isValid() || eski.isNull();
    const bool yeniBos = !yeni.isValid() || yeni.isNull();
    if (eskiBos || yeniBos)
        return eskiBos == yeniBos;
    return DegerMetni(eski, sutun.tip) == DegerMetni(yeni, sutun.tip);
}

// A whole number of the file in plain ASCII digits read without the expression; anything
// else goes to TamSayiDegeri.
std::optional<qint16> TamSayiDegeri(QStringView metin)
{
    qsizetype i = 0;
    bool eksi = false;
    if (!metin.isEmpty() && (metin[0] == QLatin1Char('+') || metin[0] == QLatin1Char('-'))) {
        eksi = metin[0] == QLatin1Char('-');
        ++i;
    }
    const qsizetype rakam = metin.size() - i;
    int sayi = 0;
    bool sade = rakam >= 1 && rakam <= 6;
    for (; sade && i < metin.size(); ++i) {
        const char16_t c = metin[i].unicode();
        sade = c >= '0' && c <= '9';
        sayi = sayi * 10 + (c - '0');
    }
    if (!sade)
        return TamSayiDegeri(metin.toString());
    if (eksi)
        sayi = -sayi;
    if (sayi < -32768 || sayi > 32767)
        return std::nullopt;
    return qint16(sayi);
}

// One line of the file decoded once, its values as views into that text; the storage is
// kept from card to card.
struct SatirGorunumu {
    QString metin;
    std::vector<QStringView> degerler;

    // Split as StokSatiriOku splits: a final ";" ends the line without an empty value.
    void Ayir()
    {
        degerler.clear();
        const QStringView s(metin);
        qsizetype bas = 0;
        while (bas < s.size()) {
            const qsizetype p = s.indexOf(QLatin1Char(';'), bas);
            if (p < 0) {
                degerler.push_back(s.sliced(bas));
                break;
            }
            degerler.push_back(s.sliced(bas, p - bas));
            bas = p + 1;
        }
    }
};

// A card line and its price lines in the write pass.
struct KartGorunumu {
    SatirGorunumu kart;
    std::vector<SatirGorunumu> fiyatlar; // the first `fiyatSayisi` hold this card's lines
    int fiyatSayisi = 0;
};

// Values by position, with which positions are set: what a QMap did, without its nodes.
struct DegerDizisi {
    std::vector<QVariant> deger;
    std::vector<char> var;

    void Boyutla(int n)
    {
        deger.assign(size_t(n), QVariant());
        var.assign(size_t(n), 0);
    }
    void Temizle() { std::fill(var.begin(), var.end(), 0); }
    void Koy(int i, QVariant d)
    {
        deger[size_t(i)] = std::move(d);
        var[size_t(i)] = 1;
    }
    bool Bos() const { return std::find(var.begin(), var.end(), 1) == var.end(); }
};

// One price level's writes (lines of one level merged, the later value winning).
struct FiyatYazimi {
    bool yeni = false;
    int seviye = 0;
    DegerDizisi sutunlar; // position in the price prefix -> value
};

// A stored (or just written) price row of the card.
struct FiyatSatiri {
    int seviye = 0;
    std::vector<QVariant> deger;
};

// Writes the cards of one import. Statements are prepared once and reused; the target's
// VAT groups are looked up once per department. The buffers live as long as the writer, so
// a card costs few allocations.
class KartYazici
{
public:
    KartYazici(const QStringList &adlar, const FiyatOnEkiBicimi &fiyat, IceAktarimOzeti &ozet)
        : m_adlar(adlar), m_fiyat(fiyat), m_ozet(ozet)
    {
        for (const QString &ad : m_adlar)
            m_tipler << Baglanti.TabloSutunu(QStringLiteral("STOKKART"), ad);
        for (const QString &ad : m_fiyat.sutunlar)
            m_fiyatTipleri << Baglanti.TabloSutunu(QStringLiteral("STOKFIYAT"), ad);
        m_grupTipi = Baglanti.TabloSutunu(QStringLiteral("STOKKART"), QStringLiteral("KDVGrup_ID"));
        const QStringList tablo = Baglanti.TabloSutunlari(QStringLiteral("STOKKART"));
        m_tarihlerVar = IcerirMi(tablo, QStringLiteral("Yr_Tarih")) && IcerirMi(tablo, QStringLiteral("Deg_Tarih"));
        // The stored Deg_Tarih comes last, so that a stamp that is already today is not rewritten.
        m_kartSorgusu = QStringLiteral("SELECT Stok_ID,KDVGrup_ID,%1%2 FROM STOKKART WHERE Stok_Kod=?")
                            .arg(m_adlar.join(QLatin1Char(',')), m_tarihlerVar ? QStringLiteral(",Deg_Tarih") : QString());
        m_fiyatSorgusu = QStringLiteral("SELECT %1 FROM STOKFIYAT WHERE Stok_ID=?").arg(m_fiyat.sutunlar.join(QLatin1Char(',')));
        m_tarihTipi = Baglanti.TabloSutunu(QStringLiteral("STOKKART"), QStringLiteral("Deg_Tarih"));
        m_yrTipi = Baglanti.TabloSutunu(QStringLiteral("STOKKART"), QStringLiteral("Yr_Tarih"));
        for (int i = 0; i < m_adlar.size(); ++i) {
            if (m_adlar[i].compare(QLatin1String("Yr_Tarih"), Qt::CaseInsensitive) == 0)
                m_yrYeri = i;
            if (m_adlar[i].compare(QLatin1String("Deg_Tarih"), Qt::CaseInsensitive) == 0)
                m_degYeri = i;
        }
        const QString bugun = Bugun().toString(QStringLiteral("dd.MM.yyyy"));
        m_bugun = Baglanti.SaklanacakDeger(bugun, m_tarihTipi);
        m_yrBugun = Baglanti.SaklanacakDeger(bugun, m_yrTipi);
        m_kartYazimi.Boyutla(int(m_adlar.size()) + 2);
    }

    // Writes one card and counts the statements it took.
    void Yaz(const KartGorunumu &kart);

private:
    enum class Sonuc { Olusturuldu, Guncellendi, Degismedi };
    struct Grup {
        QVariant id;
        QString metin; // the id's text, compared with the stored one
    };
    Sonuc KartiYaz(const KartGorunumu &kart);
    const Grup &GrupId(QStringView departman);
    bool KartiOku(QStringView stokKod, QVector<QVariant> &satir);
    void FiyatlariYaz(const QVariant &id);
    HazirKomut &Komut(const QString &sql);
    // The statement of a shape told by `anahtar`; `sql` builds its text the first time.
    template <typename Uretici> HazirKomut &Komut(const QByteArray &anahtar, Uretici sql);
    FiyatSatiri *FiyatSatiriBul(int seviye);

    QStringList m_adlar;
    QVector<SutunBilgisi> m_tipler;
    FiyatOnEkiBicimi m_fiyat;
    QVector<SutunBilgisi> m_fiyatTipleri;
    SutunBilgisi m_grupTipi, m_tarihTipi, m_yrTipi;
    bool m_tarihlerVar = false;
    int m_yrYeri = -1, m_degYeri = -1;
    QVariant m_bugun, m_yrBugun;
    QString m_kartSorgusu, m_fiyatSorgusu;
    QHash<QString, Grup> m_gruplar;
    QHash<QString, std::shared_ptr<HazirKomut>> m_komutlar; // kept for the whole import
    QHash<QByteArray, HazirKomut *> m_bicimler;              // statement shape -> one of those
    IceAktarimOzeti &m_ozet;

    // Reused from card to card.
    QVector<QVariant> m_satir;
    DegerDizisi m_kartYazimi;
    std::vector<FiyatSatiri> m_fiyatSatirlari;
    int m_fiyatSatirSayisi = 0;
    std::vector<FiyatYazimi> m_fiyatYazimlari; // merged by level, in the order levels came
    int m_fiyatYazimSayisi = 0;
    int m_yeniFiyat = 0, m_degisenFiyat = 0;   // counted per line, as the summary counts them
    QByteArray m_anahtar;
    QString m_tamponMetin;
};

HazirKomut &KartYazici::Komut(const QString &sql)
{
    auto it = m_komutlar.find(sql);
    if (it == m_komutlar.end())
        it = m_komutlar.insert(sql, std::make_shared<HazirKomut>(Baglanti, sql));
    return **it;
}

template <typename Uretici> HazirKomut &KartYazici::Komut(const QByteArray &anahtar, Uretici sql)
{
    auto it = m_bicimler.constFind(anahtar);
    if (it != m_bicimler.constEnd())
        return **it;
    HazirKomut &komut = Komut(sql());
    m_bicimler.insert(anahtar, &komut);
    return komut;
}

const KartYazici::Grup &KartYazici::GrupId(QStringView departman)
{
    const QStringView anahtarGorunum = departman.trimmed();
    m_tamponMetin.resize(anahtarGorunum.size());
    std::copy(anahtarGorunum.begin(), anahtarGorunum.end(), m_tamponMetin.begin());
    auto it = m_gruplar.constFind(m_tamponMetin);
    if (it != m_gruplar.constEnd())
        return *it;
    const QString anahtar = anahtarGorunum.toString();
    HazirKomut &sorgu = Komut(QStringLiteral("SELECT Grup_ID FROM KDVGRUPLARI WHERE Departman_No=?"));
    sorgu.Bagla(0, int(*TamSayiDegeri(anahtar)));
    sorgu.Yurut();
    if (!sorgu.Sonraki()) {
        sorgu.Bitir();
        throw Hata(QStringLiteral("Hedef firmada %1 numaralı KDV departmanı yok.").arg(anahtar));
    }
    Grup grup;
    grup.id = sorgu.Deger(0);
    sorgu.Bitir();
    grup.metin = DegerMetni(grup.id, m_grupTipi.tip).trimmed();
    return *m_gruplar.insert(anahtar, grup);
}

bool KartYazici::KartiOku(QStringView stokKod, QVector<QVariant> &satir)
{
    HazirKomut &sorgu = Komut(m_kartSorgusu);
    // Never a null text: bound as it is, it would become NULL.
    sorgu.Bagla(0, QVariant(stokKod.isEmpty() ? QStringLiteral("") : stokKod.toString()));
    sorgu.Yurut();
    const bool var = sorgu.Sonraki();
    if (var) {
        satir.resize(sorgu.SutunSayisi());
        for (int i = 0; i < satir.size(); ++i)
            satir[i] = sorgu.Deger(i);
    }
    sorgu.Bitir();
    return var;
}

FiyatSatiri *KartYazici::FiyatSatiriBul(int seviye)
{
    for (int i = 0; i < m_fiyatSatirSayisi; ++i)
        if (m_fiyatSatirlari[size_t(i)].seviye == seviye)
            return &m_fiyatSatirlari[size_t(i)];
    return nullptr;
}

// The card's price writes in as few statements as their shapes allow: the new rows with one
// multi-row INSERT per column set, the changed rows with one UPDATE whose CASE gives every
// level its own values. Lines of one level were merged already, the later value winning,
// which leaves the rows as writing them one after another would.
void KartYazici::FiyatlariYaz(const QVariant &id)
{
    const int f = int(m_fiyat.sutunlar.size());
    // Levels in ascending order.
    std::vector<const FiyatYazimi *> yeniler, degisenler;
    for (int i = 0; i < m_fiyatYazimSayisi; ++i) {
        const FiyatYazimi &y = m_fiyatYazimlari[size_t(i)];
        (y.yeni ? yeniler : degisenler).push_back(&y);
    }
    const auto seviyeSirasi = [](const FiyatYazimi *a, const FiyatYazimi *b) { return a->seviye < b->seviye; };
    std::sort(yeniler.begin(), yeniler.end(), seviyeSirasi);
    std::sort(degisenler.begin(), degisenler.end(), seviyeSirasi);

    // New rows, grouped by the columns they carry (an absent column keeps its default); the
    // groups in the ascending order of their column lists.
    std::vector<std::pair<std::vector<int>, std::vector<const FiyatYazimi *>>> gruplar;
    for (const FiyatYazimi *y : yeniler) {
        std::vector<int> sutunlar;
        for (int s = 0; s < f; ++s)
            if (y->sutunlar.var[size_t(s)])
                sutunlar.push_back(s);
        auto g = std::find_if(gruplar.begin(), gruplar.end(), [&](const auto &e) { return e.first == sutunlar; });
        if (g == gruplar.end())
            gruplar.emplace_back(std::move(sutunlar), std::vector<const FiyatYazimi *>{y});
        else
            g->second.push_back(y);
    }
    std::sort(gruplar.begin(), gruplar.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[sutunlar, seviyeler] : gruplar) {
        // A statement stays well under every backend's limit of bound values.
        const int parca = qMax(1, 900 / int(sutunlar.size() + 1));
        for (int bas = 0; bas < int(seviyeler.size()); bas += parca) {
            const int son = qMin(int(seviyeler.size()), bas + parca);
            m_anahtar.resize(0);
            m_anahtar += 'I';
            for (int s : sutunlar)
                m_anahtar += char(s + 1);
            m_anahtar += QByteArray::number(son - bas);
            HazirKomut &komut = Komut(m_anahtar, [&] {
                QStringList adlar;
                for (int s : sutunlar)
                    adlar << m_fiyat.sutunlar[s];
                adlar << QStringLiteral("Stok_ID");
                const QString yer = QLatin1Char('(') + QStringLiteral("?,").repeated(adlar.size() - 1) + QStringLiteral("?)");
                QStringList satirlar;
                for (int i = bas; i < son; ++i)
                    satirlar << yer;
                return QStringLiteral("INSERT INTO STOKFIYAT (%1) VALUES %2")
                    .arg(adlar.join(QLatin1Char(',')), satirlar.join(QLatin1Char(',')));
            });
            int yer = 0;
            for (int i = bas; i < son; ++i) {
                for (int s : sutunlar)
                    komut.Bagla(yer++, seviyeler[size_t(i)]->sutunlar.deger[size_t(s)]);
                komut.Bagla(yer++, id);
            }
            komut.Yurut();
            komut.Bitir();
        }
    }

    if (degisenler.empty())
        return;
    // Changed rows: column = CASE WHEN level=? THEN ? ... ELSE column END. A level that does
    // not change the column is bound as NULL, which matches no row, so that the statement's
    // shape depends only on the columns and the number of levels.
    std::vector<int> sutunlar;
    for (int s = 0; s < f; ++s)
        for (const FiyatYazimi *y : degisenler)
            if (y->sutunlar.var[size_t(s)]) {
                sutunlar.push_back(s);
                break;
            }
    const int parca = qMax(1, 900 / (2 * int(sutunlar.size()) + 2));
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
                const QString &ad = m_fiyat.sutunlar[s];
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
                const FiyatYazimi &y = *degisenler[size_t(i)];
                const bool var = y.sutunlar.var[size_t(s)];
                komut.Bagla(yer++, var ? QVariant(y.seviye) : bosSeviye);
                komut.Bagla(yer++, var ? y.sutunlar.deger[size_t(s)] : QVariant());
            }
        }
        komut.Bagla(yer++, id);
        for (int i = bas; i < son; ++i)
            komut.Bagla(yer++, QVariant(degisenler[size_t(i)]->seviye));
        komut.Yurut();
        komut.Bitir();
    }
}

void KartYazici::Yaz(const KartGorunumu &kart)
{
    const quint64 once = Baglanti.KomutSayisi();
    const Sonuc sonuc = KartiYaz(kart);
    const int komut = int(Baglanti.KomutSayisi() - once);
    IceAktarimOzeti::KomutSayilari &sayilar = sonuc == Sonuc::Olusturuldu  ? m_ozet.komutOlusturulan
                                              : sonuc == Sonuc::Guncellendi ? m_ozet.komutGuncellenen
                                                                            : m_ozet.komutDegismeyen;
    sayilar.toplam += quint64(komut);
    sayilar.enCok = qMax(sayilar.enCok, komut);
}

KartYazici::Sonuc KartYazici::KartiYaz(const KartGorunumu &kart)
{
    const std::vector<QStringView> &d = kart.kart.degerler;
    const int n = int(m_adlar.size()); // names 1..N-1; value N is the department
    const Grup &grup = GrupId(d[size_t(n)]);
    const QVariant grupId = grup.id;
    const QVariant &bugun = m_bugun;

    QVector<QVariant> &satir = m_satir;
    const bool yeni = !KartiOku(d[0], satir);

    // Card columns to write: position in the card query -> value.
    DegerDizisi &kartYazimi = m_kartYazimi;
    kartYazimi.Temizle();
    if (yeni) {
        kartYazimi.Koy(1, grupId);
        for (int i = 0; i < n; ++i)
            if (!d[size_t(i)].isEmpty())
                kartYazimi.Koy(i + 2, MetinDegeriHizli(d[size_t(i)], m_tipler[i]));
    } else {
        if (Farkli(satir[1], m_grupTipi, grup.metin))
            kartYazimi.Koy(1, grupId);
        for (int i = 0; i < n; ++i)
            if (Farkli(satir[i + 2], m_tipler[i], d[size_t(i)]))
                kartYazimi.Koy(i + 2, YazilacakDeger(d[size_t(i)], m_tipler[i], true));
    }
    const bool kartDegisti = !kartYazimi.Bos();

    // The card's price rows, read with one statement (a new card has none).
    const int f = int(m_fiyat.sutunlar.size());
    const QVariant eskiId = yeni ? QVariant() : satir[0];
    m_fiyatSatirSayisi = 0;
    auto yeniFiyatSatiri = [&]() -> FiyatSatiri & {
        if (size_t(m_fiyatSatirSayisi) == m_fiyatSatirlari.size())
            m_fiyatSatirlari.emplace_back();
        FiyatSatiri &fs = m_fiyatSatirlari[size_t(m_fiyatSatirSayisi++)];
        fs.deger.assign(size_t(f), QVariant());
        return fs;
    };
    if (!yeni && kart.fiyatSayisi > 0) {
        HazirKomut &sorgu = Komut(m_fiyatSorgusu);
        sorgu.Bagla(0, eskiId);
        sorgu.Yurut();
        while (sorgu.Sonraki()) {
            const QVariant ilk = sorgu.Deger(0);
            const int seviye = ilk.toInt();
            if (FiyatSatiriBul(seviye))
                continue;
            FiyatSatiri &fs = yeniFiyatSatiri();
            fs.seviye = seviye;
            fs.deger[0] = ilk;
            for (int i = 1; i < f; ++i)
                fs.deger[size_t(i)] = sorgu.Deger(i);
        }
        sorgu.Bitir();
    }

    // Price writes, worked out before anything is written; the id is filled in later.
    m_fiyatYazimSayisi = 0;
    m_yeniFiyat = m_degisenFiyat = 0;
    for (int k = 0; k < kart.fiyatSayisi; ++k) {
        const std::vector<QStringView> &fl = kart.fiyatlar[size_t(k)].degerler;
        const int seviye = *TamSayiDegeri(fl[0]);
        FiyatSatiri *kayit = FiyatSatiriBul(seviye);
        const bool yeniSatir = kayit == nullptr;
        // The level's merged write, if an earlier line of the card had one.
        FiyatYazimi *yazim = nullptr;
        for (int i = 0; i < m_fiyatYazimSayisi && !yazim; ++i)
            if (m_fiyatYazimlari[size_t(i)].seviye == seviye)
                yazim = &m_fiyatYazimlari[size_t(i)];
        bool yeniYazim = false;
        if (!yazim) {
            if (size_t(m_fiyatYazimSayisi) == m_fiyatYazimlari.size())
                m_fiyatYazimlari.emplace_back();
            yazim = &m_fiyatYazimlari[size_t(m_fiyatYazimSayisi)];
            yazim->seviye = seviye;
            yazim->yeni = yeniSatir;
            yazim->sutunlar.Boyutla(f);
            yeniYazim = true;
        }
        bool degisti = false;
        if (yeniSatir) {
            FiyatSatiri &fs = yeniFiyatSatiri();
            fs.seviye = seviye;
            for (int i = 0; i < int(fl.size()); ++i) {
                if (i == 1 || fl[size_t(i)].isEmpty())
                    continue; // Stok_ID: the target's
                QVariant deger = MetinDegeriHizli(fl[size_t(i)], m_fiyatTipleri[i]);
                fs.deger[size_t(i)] = deger;
                yazim->sutunlar.Koy(i, std::move(deger));
            }
        } else {
            for (int i = 0; i < int(fl.size()); ++i) {
                if (i == 1)
                    continue; // Stok_ID: the target's
                if (Farkli(kayit->deger[size_t(i)], m_fiyatTipleri[i], fl[size_t(i)])) {
                    QVariant deger = YazilacakDeger(fl[size_t(i)], m_fiyatTipleri[i], false);
                    kayit->deger[size_t(i)] = deger;
                    yazim->sutunlar.Koy(i, std::move(deger));
                    degisti = true;
                }
            }
        }
        if (yeniSatir)
            ++m_yeniFiyat;
        else if (degisti)
            ++m_degisenFiyat;
        if (yeniYazim && (yeniSatir || degisti))
            ++m_fiyatYazimSayisi;
    }
    const bool fiyatYazilacak = m_fiyatYazimSayisi > 0;

    // Dates: a new card is created today; a changed one keeps its Yr_Tarih and is stamped
    // today. Writes that would store what is already there are left out.
    if (m_tarihlerVar) {
        if (m_yrYeri >= 0)
            kartYazimi.var[size_t(m_yrYeri + 2)] = 0;
        if (m_degYeri >= 0)
            kartYazimi.var[size_t(m_degYeri + 2)] = 0;
    }
    if (!yeni) {
        for (int k = 1; k < n + 2; ++k) {
            if (!kartYazimi.var[size_t(k)])
                continue;
            const SutunBilgisi &tip = k == 1 ? m_grupTipi : m_tipler[k - 2];
            if (AyniDeger(satir[k], kartYazimi.deger[size_t(k)], tip))
                kartYazimi.var[size_t(k)] = 0;
        }
    }
    // Once the card or one of its prices changed, the card is stamped today.
    const bool damga = !yeni && m_tarihlerVar && (kartDegisti || fiyatYazilacak) && !AyniDeger(satir.last(), bugun, m_tarihTipi);
    if (!yeni && kartYazimi.Bos() && !damga && !fiyatYazilacak) {
        ++m_ozet.kartDegismeyen;
        return Sonuc::Degismedi;
    }

    // The card and its prices stand or fall together.
    Baglanti.IslemBaslat();
    try {
        QVariant id = eskiId;
        const auto ad = [&](int konum) { return konum == 1 ? QStringLiteral("KDVGrup_ID") : m_adlar[konum - 2]; };
        m_anahtar.resize(0);
        m_anahtar += yeni ? 'C' : (damga ? 'D' : 'K');
        m_anahtar += QByteArrayView(kartYazimi.var.data(), qsizetype(kartYazimi.var.size()));
        const bool sutunVar = !kartYazimi.Bos();
        if (yeni) {
            HazirKomut &komut = Komut(m_anahtar, [&] {
                QStringList adlar;
                for (int k = 1; k < n + 2; ++k)
                    if (kartYazimi.var[size_t(k)])
                        adlar << ad(k);
                if (m_tarihlerVar)
                    adlar << QStringLiteral("Yr_Tarih") << QStringLiteral("Deg_Tarih");
                QStringList yerler;
                for (int i = 0; i < adlar.size(); ++i)
                    yerler << QStringLiteral("?");
                return QStringLiteral("INSERT INTO STOKKART (%1) VALUES (%2)")
                    .arg(adlar.join(QLatin1Char(',')), yerler.join(QLatin1Char(',')));
            });
            int yer = 0;
            for (int k = 1; k < n + 2; ++k)
                if (kartYazimi.var[size_t(k)])
                    komut.Bagla(yer++, kartYazimi.deger[size_t(k)]);
            if (m_tarihlerVar) {
                komut.Bagla(yer++, m_yrBugun);
                komut.Bagla(yer++, bugun);
            }
            komut.Yurut();
            id = komut.SonEklenenId();
            komut.Bitir();
            if (!id.isValid() || id.isNull()) {
                QVector<QVariant> okunan;
                if (!KartiOku(d[0], okunan))
                    throw Hata(QStringLiteral("Oluşturulan stok kartı okunamadı."));
                id = okunan[0];
            }
        } else if (sutunVar || damga) {
            HazirKomut &komut = Komut(m_anahtar, [&] {
                QStringList atamalar;
                for (int k = 1; k < n + 2; ++k)
                    if (kartYazimi.var[size_t(k)])
                        atamalar << ad(k) + QStringLiteral("=?");
                if (damga)
                    atamalar << QStringLiteral("Deg_Tarih=?");
                return QStringLiteral("UPDATE STOKKART SET %1 WHERE Stok_ID=?").arg(atamalar.join(QLatin1Char(',')));
            });
            int yer = 0;
            for (int k = 1; k < n + 2; ++k)
                if (kartYazimi.var[size_t(k)])
                    komut.Bagla(yer++, kartYazimi.deger[size_t(k)]);
            if (damga)
                komut.Bagla(yer++, bugun);
            komut.Bagla(yer++, id);
            komut.Yurut();
            komut.Bitir();
        }

        FiyatlariYaz(id);
        Baglanti.IslemOnayla();
    } catch (...) {
        Baglanti.IslemGeriAl();
        throw;
    }
    // Counted once the card stands.
    ++(yeni ? m_ozet.kartOlusturulan : m_ozet.kartGuncellenen);
    m_ozet.fiyatOlusturulan += m_yeniFiyat;
    m_ozet.fiyatGuncellenen += m_degisenFiyat;
    return yeni ? Sonuc::Olusturuldu : Sonuc::Guncellendi;
}

struct KartKaydi {
    QStringList degerler;          // values 1..N of the card line
    QList<QStringList> fiyatlar;   // its price lines
};

// Reads one card line and the price lines after it; `satir` ends on "<STOK>" or "<END>".
KartKaydi KartKaydiOku(AktarimOkuyucu &dosya, const QString &kartSatiri, QString &satir)
{
    KartKaydi kart;
    kart.degerler = StokSatiriOku(kartSatiri);
    for (;;) {
        satir = dosya.SatirOku();
        if (satir == Etiket::Stok || satir == Etiket::Son)
            break;
        kart.fiyatlar << FiyatSatiriOku(satir);
    }
    return kart;
}

// A card record fit for writing: N values, a whole department number, price lines with the
// prefix's number of values and whole price levels.
void KartKaydiDenetle(const KartKaydi &kart, int n, int fiyatDegerSayisi)
{
    const QString kod = kart.degerler.value(0).trimmed();
    if (kart.degerler.size() != n)
        throw Hata(QStringLiteral("%1 stok kodlu kartın satırında %2 değer var, %3 olmalı.")
                       .arg(kod).arg(kart.degerler.size()).arg(n));
    if (!TamSayiDegeri(kart.degerler[n - 1]))
        throw Hata(QStringLiteral("%1 stok kodlu kartın KDV departman numarası geçersiz: '%2'.").arg(kod, kart.degerler[n - 1]));
    for (const QStringList &f : kart.fiyatlar) {
        if (f.size() != fiyatDegerSayisi)
            throw Hata(QStringLiteral("%1 stok kodlu kartın bir fiyat satırında %2 değer var, %3 olmalı.")
                           .arg(kod).arg(f.size()).arg(fiyatDegerSayisi));
        if (!TamSayiDegeri(f[0]))
            throw Hata(QStringLiteral("%1 stok kodlu kartın fiyat seviyesi geçersiz: '%2'.").arg(kod, f[0]));
    }
}

// The checks above on a line's bytes, for the counting pass: true only where the record check
// surely passes (values counted at the ";", whole numbers in plain digits). Anything else goes
// to the record check itself, which decides and names the fault.
int DegerSayisi(QByteArrayView satir)
{
    const int ayrac = int(std::count(satir.begin(), satir.end(), ';'));
    return ayrac + (!satir.isEmpty() && satir.back() != ';' ? 1 : 0);
}

bool SadeTamSayi(QByteArrayView alan)
{
    qsizetype i = 0;
    bool eksi = false;
    if (!alan.isEmpty() && (alan[0] == '+' || alan[0] == '-')) {
        eksi = alan[0] == '-';
        ++i;
    }
    const qsizetype rakam = alan.size() - i;
    if (rakam < 1 || rakam > 5)
        return false;
    int sayi = 0;
    for (; i < alan.size(); ++i) {
        if (alan[i] < '0' || alan[i] > '9')
            return false;
        sayi = sayi * 10 + (alan[i] - '0');
    }
    return eksi ? sayi <= 32768 : sayi <= 32767;
}

// Field `sira` (0-based) of a line whose values were counted.
QByteArrayView Alan(QByteArrayView satir, int sira)
{
    const char *bas = satir.begin();
    const char *const son = satir.end();
    for (int i = 0; i < sira; ++i)
        bas = std::find(bas, son, ';') + 1;
    return QByteArrayView(bas, std::find(bas, son, ';'));
}

bool KartSatiriUygun(QByteArrayView satir, int n)
{
    return DegerSayisi(satir) == n && SadeTamSayi(Alan(satir, n - 1));
}

bool FiyatSatiriUygun(QByteArrayView satir, int fiyatDegerSayisi)
{
    return DegerSayisi(satir) == fiyatDegerSayisi && SadeTamSayi(Alan(satir, 0));
}

const QByteArrayView HamStok("<STOK>");
const QByteArrayView HamSon("<END>");

} // namespace

void KartlariAktar(AktarimOkuyucu &dosya, IceAktarimOzeti &ozet)
{
    // Card header.
    int n = 0;
    QStringList adlar;
    try {
        static const QRegularExpression sayi(QStringLiteral(R"(^\s*\d{1,5}\s*$)"));
        const QString sayiSatiri = dosya.SatirOku();
        n = sayi.match(sayiSatiri).hasMatch() ? sayiSatiri.trimmed().toInt() : 0;
        if (n < 1 || n > 32767) {
            BitirenMesaj(ozet, FormatHatasi, Etkilesim::Simge::Kritik, KartBaslikHatasi);
            return;
        }
        const auto cozulen = KartSutunSatiriCoz(dosya.SatirOku());
        bool gecerli = cozulen && cozulen->size() == n - 1;
        if (gecerli) {
            const QStringList hedef = Baglanti.TabloSutunlari(QStringLiteral("STOKKART"));
            QSet<QString> gorulen;
            for (const QString &ad : *cozulen) {
                const QString buyuk = ad.toUpper();
                gecerli = gecerli && IcerirMi(hedef, ad) && !gorulen.contains(buyuk)
                          && buyuk != QLatin1String("STOK_ID") && buyuk != QLatin1String("KDVGRUP_ID");
                gorulen.insert(buyuk);
            }
        }
        if (!gecerli) {
            BitirenMesaj(ozet, FormatHatasi, Etkilesim::Simge::Kritik, KartBaslikHatasi);
            return;
        }
        adlar = *cozulen;
    } catch (const Hata &hata) {
        BitirenMesaj(ozet,
                     QStringLiteral("Stok Parametre Bilgileri Okunurken Bir Hata Oluştu.Lütfen Bu Durumu Progam SatıcınızaBildiriniz."),
                     Etkilesim::Simge::Kritik, hata.Aciklama());
        return;
    }

    // Price header.
    FiyatOnEkiBicimi fiyat;
    try {
        std::optional<FiyatOnEkiBicimi> cozulen;
        if (dosya.SatirOku() == Etiket::StokFiyat)
            cozulen = FiyatOnEkiCoz(dosya.SatirOku());
        if (cozulen) {
            const QStringList hedef = Baglanti.TabloSutunlari(QStringLiteral("STOKFIYAT"));
            for (const QString &ad : cozulen->sutunlar)
                if (!IcerirMi(hedef, ad))
                    cozulen.reset();
        }
        if (!cozulen) {
            BitirenMesaj(ozet, FormatHatasi, Etkilesim::Simge::Kritik, FiyatBaslikHatasi);
            return;
        }
        fiyat = *cozulen;
    } catch (const Hata &hata) {
        BitirenMesaj(ozet,
                     QStringLiteral("Fiyat Parametre Bilgileri Okunurken Bir Hata Oluştu.Lütfen Bu Durumu Progam SatıcınızaBildiriniz."),
                     Etkilesim::Simge::Kritik, hata.Aciklama());
        return;
    }

    // Cards.
    QString stokKod;
    try {
        if (dosya.SatirOku() != Etiket::Stok) {
            BitirenMesaj(ozet, QStringLiteral("Dosya Formatı Hatası Dosya Ravelkoi İçin uygun Dosya Değil."),
                         Etkilesim::Simge::Kritik, QStringLiteral("STOK OKMUA PARAMETRESİ HATASI"));
            return;
        }
        // Counting pass; it also checks every record, so a broken one stops the import
        // before any card is written.
        const qint64 ilkKart = dosya.Konum();
        // It looks at the bytes only; a record they do not clear is read and checked in full.
        const int fiyatDegerSayisi = int(fiyat.sutunlar.size());
        int kartSayisi = 1;
        QString satir;
        for (;;) {
            const qint64 kartKonumu = dosya.Konum();
            const QByteArrayView kartSatiri = dosya.HamSatirOku();
            if (kartSatiri == HamSon)
                break;
            bool uygun = KartSatiriUygun(kartSatiri, n);
            QByteArrayView ham;
            for (;;) {
                ham = dosya.HamSatirOku();
                if (ham == HamStok || ham == HamSon)
                    break;
                uygun = uygun && FiyatSatiriUygun(ham, fiyatDegerSayisi);
            }
            const bool son = ham == HamSon;
            if (!uygun) {
                const qint64 devam = dosya.Konum();
                dosya.KonumaGit(kartKonumu);
                const QString tamSatir = dosya.SatirOku();
                const KartKaydi kayit = KartKaydiOku(dosya, tamSatir, satir);
                try {
                    KartKaydiDenetle(kayit, n, fiyatDegerSayisi);
                } catch (const Hata &) {
                    stokKod = kayit.degerler.value(0).trimmed(); // the message names the broken card
                    throw;
                }
                dosya.KonumaGit(devam);
            }
            if (son)
                break;
            ++kartSayisi;
        }
        KartBar().Ayarla(kartSayisi, 0);
        Operator().FrameBarGoster(true);

        dosya.KonumaGit(ilkKart);
        KartYazici yazici(adlar, fiyat, ozet);
        KartGorunumu kart;
        QString okunan;
        for (;;) {
            dosya.SatirOku(kart.kart.metin);
            if (kart.kart.metin == Etiket::Son)
                break;
            kart.kart.Ayir();
            kart.fiyatSayisi = 0;
            for (;;) {
                dosya.SatirOku(okunan);
                if (okunan == Etiket::Stok || okunan == Etiket::Son)
                    break;
                if (size_t(kart.fiyatSayisi) == kart.fiyatlar.size())
                    kart.fiyatlar.emplace_back();
                SatirGorunumu &fiyatSatiri = kart.fiyatlar[size_t(kart.fiyatSayisi++)];
                std::swap(fiyatSatiri.metin, okunan);
                fiyatSatiri.Ayir();
            }
            const bool son = okunan == Etiket::Son;
            const std::vector<QStringView> &d = kart.kart.degerler;
            stokKod = d.empty() ? QString() : d[0].trimmed().toString();
            Operator().MesajLblYaz((d.size() > 1 ? d[1].trimmed().toString() : QString()) + QStringLiteral(" İsimli Stok Aktarılıyor....."));
            yazici.Yaz(kart);
            IlerlemeArttir(KartBar(), 1);
            Operator().BekleyenOlaylariIsle();
            if (son)
                break;
        }
        Operator().FrameBarGoster(false);
        Operator().Mesaj(QStringLiteral("İşlem Başarı ile Tamamlandı"));
        ozet.basarili = true;
        ozet.mesaj.clear();
    } catch (const Hata &hata) {
        Operator().FrameBarGoster(false);
        BitirenMesaj(ozet,
                     QStringLiteral("Stok Bilgileri Güncellenirken Bir Hata Oluştu.Lütfen Bu Durumu Progam SatıcınızaBildiriniz."),
                     Etkilesim::Simge::Kritik, hata.Aciklama() + QStringLiteral("  ") + stokKod);
        Operator().Mesaj(hata.Aciklama());
    }
}
