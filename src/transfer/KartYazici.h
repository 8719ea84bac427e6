#pragma once

#include "state/SutunTipi.h"
#include "transfer/KayitYazici.h"

#include <QByteArray>
#include <QHash>
#include <QVector>
#include <memory>
#include <utility>
#include <vector>

class HazirKomut;

// Values by position, with which positions are set.
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

// The cards of one import, against the target's STOKKART and STOKFIYAT: checked, then written
// inside the transaction the caller holds, each card with its price rows under a savepoint.
// Statements are prepared once per shape and kept for the whole import.
class KartYazici
{
public:
    enum class Sonuc { Olusturuldu, Guncellendi, Degismedi };

    // Throws IceAktarimHatasi (region 5 or 6) when the target lacks a column the file names.
    KartYazici(const KartBasligi &baslik, const QHash<int, HedefGrubu> &gruplar, DegisiklikKaydi *degisiklikler);
    ~KartYazici();

    void Denetle(const KartKaydi &kart) const; // throws IceAktarimHatasi (region 7)
    Sonuc Yaz(const KartKaydi &kart, YazimSayilari &sayilar);
    // Whether a card that failed took the whole transaction with it (its savepoint could not
    // be rolled back to); cleared when asked.
    bool IslemBitti() { return std::exchange(m_islemBitti, false); }

private:
    // A stored (or just written) price row of the card, and its pending write.
    struct FiyatSatiri {
        int seviye = 0;
        bool yeni = false;      // created by this card's lines
        bool yazilacak = false; // has a write pending
        int sira = 0;           // order of its first line, for new rows
        std::vector<QVariant> deger;
        DegerDizisi yazim;
    };

    QString DegerHatasi(const DosyaSatiri &satir, QStringView stokKod, const QString &sutun, const QString &neden) const;
    bool KartiOku(QStringView stokKod, QVector<QVariant> &satir);
    void FiyatlariOku(const QVariant &id);
    FiyatSatiri *FiyatSatiriBul(int seviye);
    FiyatSatiri &YeniFiyatSatiri(int seviye);
    // The price lines against the rows: what is to be written. Returns whether anything is.
    bool FiyatYazimlariniBul(const KartKaydi &kart, int &yeniSatir, int &degisenSatir);
    void KartiYaz(const KartKaydi &kart, bool yeni, bool damga, QVariant &id);
    void YeniFiyatlariYaz(const QVariant &id);
    void DegisenFiyatlariYaz(const QVariant &id);
    HazirKomut &Komut(const QString &sql);
    // The statement of a shape told by `anahtar`; `sql` builds its text the first time.
    template <typename Uretici> HazirKomut &Komut(const QByteArray &anahtar, Uretici sql)
    {
        auto it = m_bicimler.constFind(anahtar);
        if (it != m_bicimler.constEnd())
            return **it;
        HazirKomut &komut = Komut(sql());
        m_bicimler.insert(anahtar, &komut);
        return komut;
    }

    QStringList m_adlar;
    QVector<SutunBilgisi> m_tipler;
    QStringList m_fiyatSutunlari;
    QVector<SutunBilgisi> m_fiyatTipleri;
    const QHash<int, HedefGrubu> &m_gruplar;
    DegisiklikKaydi *m_degisiklikler;
    SutunBilgisi m_grupTipi, m_tarihTipi;
    bool m_tarihlerVar = false;
    int m_yrYeri = -1, m_degYeri = -1;
    QVariant m_bugun, m_yrBugun;
    QString m_kartSorgusu, m_fiyatSorgusu;
    QHash<QString, std::shared_ptr<HazirKomut>> m_komutlar;
    QHash<QByteArray, HazirKomut *> m_bicimler; // statement shape -> one of those

    // Reused from card to card.
    QVector<QVariant> m_satir;
    DegerDizisi m_kartYazimi;
    std::vector<FiyatSatiri> m_fiyatSatirlari;
    int m_fiyatSatirSayisi = 0;
    QByteArray m_anahtar;
    bool m_islemBitti = false;
};

// Rolls back to the savepoint of a record that failed. False when there is none left to roll
// back to: the database ended the whole transaction with the failure.
bool KayitNoktasinaDon();
