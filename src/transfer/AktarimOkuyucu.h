#pragma once

#include "transfer/AktarimDosyasi.h"
#include "transfer/SatirOkuyucu.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

// One line of the file decoded from Windows-1254, with its values split at ";" (a final ";"
// ends the line without an empty value after it). The views point into `metin`.
struct DosyaSatiri {
    qint64 no = 0; // line number, from 1
    QString metin;
    std::vector<QStringView> degerler;
};

struct KdvKaydi {
    qint16 Departman_No = 0;
    QString Departman_Adi;
    qint16 KDV = 0;
};

struct FiyatTanimKaydi {
    qint16 Sira_No = 0;
    QString Fiyat_Aciklama;
    bool On_Deger = false;
};

// The stock header block: the card column line and the price statement prefix.
struct KartBasligi {
    int n = 0;              // values per card line: the names below, then the department
    QStringList adlar;      // column names 1..N-1, table prefixes dropped
    int stokKodYeri = -1;   // positions of Stok_Kod and Stok_Ad among them (Stok_Ad: -1 if absent)
    int stokAdYeri = -1;
    FiyatOnEkiBicimi fiyat; // the price columns, in line order
};

// A stock record: the card line and its price lines, each already checked in itself (number
// of values, a whole department number and price levels, characters the file may hold).
struct KartKaydi {
    DosyaSatiri kart;
    std::vector<DosyaSatiri> fiyatlar; // the first `fiyatSayisi` belong to this card
    int fiyatSayisi = 0;
    std::vector<qint16> seviyeler;     // the level of each price line
    qint16 departman = 0;
    QStringView stokKod, stokAd;       // trimmed, into `kart`

    const DosyaSatiri &Fiyat(int i) const { return fiyatlar[size_t(i)]; }
};

enum class KayitTuru {
    KdvGrubu,
    KdvSonu,    // "<FIYATTANIM>": every VAT group was read
    FiyatTanimi,
    KartBasligi,
    Kart,
};

// The region of the import whose message a failure at a record of that kind shows.
int KayitBolgesi(KayitTuru tur);

struct Kayit {
    KayitTuru tur = KayitTuru::KdvGrubu;
    qint64 satir = 0; // the record's first line
    KdvKaydi kdv;
    FiyatTanimKaydi tanim;
    KartBasligi baslik;
    KartKaydi kart;
};

// The one reader of the transfer format: yields the file's records in order, each checked in
// itself; what the target can take is the writer's to check. Every failure is an
// IceAktarimHatasi naming the region, the line and, inside the cards, the stock code.
class AktarimOkuyucu
{
public:
    // Opens a regular file, refuses one that is not Windows-1254 text, and reads line 1.
    explicit AktarimOkuyucu(const QString &yol);

    // The next record into `kayit`, whose storage is reused; false at "<END>" after the cards.
    bool Sonraki(Kayit &kayit);
    // Back to the first record, to read the file once more.
    void Basa();

    enum class Bolum { Kdv, FiyatTanim, Kartlar, Bitti };
    // Where the next record starts, to read again from there.
    struct Yer {
        SatirOkuyucu::Yer satir;
        Bolum bolum = Bolum::Kdv;
        int kdvSayisi = 0;
        bool sonGeldi = false;
    };
    Yer Konum() const { return {m_satirlar.Konum(), m_bolum, m_kdvSayisi, m_sonGeldi}; }
    void KonumaGit(const Yer &yer);

private:

    bool SonrakiKayit(Kayit &kayit);
    // The next line; at the end of the file the region's failure.
    QByteArrayView SatirOku(int bolge);
    // Decodes and splits; true when a byte may be one the file cannot hold.
    bool Coz(QByteArrayView ham, DosyaSatiri &satir) const;
    // Refuses a character a transfer file cannot hold, naming where it stands: `sutunlar`
    // names the values by position, `yer` the line's kind and card.
    void KarakterleriDenetle(QByteArrayView ham, int bolge, const QString &yer, const QStringList &sutunlar) const;
    void KdvOku(QByteArrayView ham, Kayit &kayit);
    void FiyatTanimiOku(QByteArrayView ham, Kayit &kayit);
    void BaslikOku(Kayit &kayit);
    void KartOku(QByteArrayView ham, Kayit &kayit);
    void FiyatOku(QByteArrayView ham, KartKaydi &kart, int sira);

    SatirOkuyucu m_satirlar;
    Yer m_ilkKayit;
    Bolum m_bolum = Bolum::Kdv;
    int m_kdvSayisi = 0;
    bool m_sonGeldi = false;      // the last card's record ended at "<END>"
    KartBasligi m_baslik;         // once read, for the cards
    QStringList m_kartSutunlari;  // the card line's values by position, for messages
    QString m_stokKod;            // of the card being read, for messages
};
