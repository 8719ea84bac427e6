#pragma once

#include "transfer/AktarimOkuyucu.h"
#include "transfer/DosyadanAl.h"

#include <QElapsedTimer>
#include <QHash>
#include <QVariant>
#include <memory>
#include <vector>

class KartYazici;

// Told every change the writer makes, where it compares the values anyway (a change report
// hangs here). Calls come before the change is committed: Onaylandi() says that everything
// told so far stands, GeriAlindi() that everything told since the last Onaylandi() was undone,
// KartGeriAlindi() that the changes told for that card were undone alone. `eski` is invalid for
// a row the writer creates. A card's changes come between KartBasladi() and KartBitti() (or
// KartGeriAlindi()), every card of the file told, also one that does not change.
enum class KartDurumu { Olusturuldu, Guncellendi, Degismedi };

class DegisiklikKaydi
{
public:
    virtual ~DegisiklikKaydi() = default;
    virtual void KartBasladi(QStringView stokKod, QStringView stokAd) { Q_UNUSED(stokKod) Q_UNUSED(stokAd) }
    virtual void KartBitti(KartDurumu durum) { Q_UNUSED(durum) }
    virtual void FiyatTanimi(int siraNo, const QString &sutun, const QVariant &eski, const QVariant &yeni) = 0;
    virtual void KartSutunu(QStringView stokKod, const QString &sutun, const QVariant &eski, const QVariant &yeni) = 0;
    virtual void FiyatSutunu(QStringView stokKod, int seviye, const QString &sutun, const QVariant &eski,
                             const QVariant &yeni) = 0;
    virtual void KartGeriAlindi(QStringView stokKod) = 0;
    virtual void Onaylandi() = 0;
    virtual void GeriAlindi() = 0;
};

// The department numbers of the target's VAT groups and the group each names (the first).
struct HedefGrubu {
    QVariant id;
    QString metin; // the id's text, compared with a card's stored one
};

// What has been written since the last commit, added to the summary once it stands.
struct YazimSayilari {
    int kartOlusturulan = 0, kartGuncellenen = 0, kartDegismeyen = 0;
    int fiyatOlusturulan = 0, fiyatGuncellenen = 0;
    int fiyatTanimiEklenen = 0, fiyatTanimiGuncellenen = 0;
    void Ekle(IceAktarimOzeti &ozet) const;
};

// The one writer of an import. Denetle() checks a record the reader gave against the logged-in
// company (column types, lengths, ranges, dates, departments, the VAT groups) and writes
// nothing; Yaz() writes a record that passed. Writes go in groups of cards, each group one
// write transaction (taken before the first look-up, so that a second import cannot insert
// the same card meanwhile) and each card a savepoint in it: a card is never written in part.
// Failures are IceAktarimHatasi or the database layer's Hata.
class KayitYazici
{
public:
    explicit KayitYazici(IceAktarimOzeti &ozet, DegisiklikKaydi *degisiklikler = nullptr);
    ~KayitYazici();
    KayitYazici(const KayitYazici &) = delete;
    KayitYazici &operator=(const KayitYazici &) = delete;

    void Denetle(const Kayit &kayit);
    void Yaz(const Kayit &kayit);
    // Commits the last group.
    void Bitir();
    // After a failure (the failing card already undone): the records of the open group before
    // it are committed. False when they could not be, because the database had undone the
    // whole group with the failure (SQL Server does for an error in a trigger, SQLite for a
    // full disk or a trigger's ROLLBACK): they are then to be written again. A failure here is not told: the first one
    // is what the operator must see.
    bool Durdur();
    // Whether a group is open: the next record written joins it.
    bool GrupAcik() const { return m_islemAcik; }

private:
    void KdvDenetle(const Kayit &kayit);
    void KdvSonuDenetle();
    void TanimDenetle(const Kayit &kayit);
    void TanimYaz(const FiyatTanimKaydi &tanim);
    void BaslikDenetle(const KartBasligi &baslik);
    void KartYaz(const KartKaydi &kart);
    void IslemAc();
    void GrupKapat();

    IceAktarimOzeti &m_ozet;
    DegisiklikKaydi *m_degisiklikler;

    // VAT comparison.
    std::vector<std::pair<QString, QString>> m_hedefKdv; // Departman_No and KDV texts, in order
    bool m_hedefKdvOkundu = false;
    int m_kdvSirasi = 0;
    bool m_kdvUyusmuyor = false;
    QHash<int, HedefGrubu> m_gruplar;

    // Price definitions, read inside the write transaction at the first one.
    struct Tanim {
        QVariant aciklama, onDeger; // as stored (NULL never differs)
    };
    QHash<int, Tanim> m_tanimlar;
    bool m_tanimlarOkundu = false;

    std::unique_ptr<KartYazici> m_kart;
    KartBasligi m_baslik;

    // The open group.
    bool m_islemAcik = false;
    bool m_grupBitti = false; // a failure ended its transaction
    QElapsedTimer m_grupSuresi;
    YazimSayilari m_grup;
};
