#pragma once

#include "state/SutunTipi.h"
#include "transfer/KayitYazici.h"

#include <QHash>
#include <QSaveFile>
#include <QString>
#include <vector>

// One changed column or price value, its values as text by the program's value rule; a row
// the import creates is a single line without a column, its new value "Oluşturuldu".
struct RaporSatiri {
    QString ne;    // "Kart", "Fiyat n" or "Fiyat Tanımı n"
    QString sutun;
    QString eski;
    QString yeni;
};

// A card of the file (or a price definition) with what the import did to it.
struct RaporKarti {
    QString stokKod;  // empty for a price definition
    QString stokAd;   // a definition's: "Fiyat Tanımı n"
    KartDurumu durum = KartDurumu::Degismedi;
    std::vector<RaporSatiri> satirlar;
};

// Where the changes go once they stand: the report file, the preview's table.
class RaporAlici
{
public:
    virtual ~RaporAlici() = default;
    virtual void KartAlindi(RaporKarti &&kart) = 0;
};

// Turns what the writer tells into report cards and hands them on when their group is
// committed; what the database undid never reaches the receiver.
class DegisiklikToplayici : public DegisiklikKaydi
{
public:
    explicit DegisiklikToplayici(RaporAlici &alici) : m_alici(alici) {}

    void KartBasladi(QStringView stokKod, QStringView stokAd) override;
    void KartBitti(KartDurumu durum) override;
    void FiyatTanimi(int siraNo, const QString &sutun, const QVariant &eski, const QVariant &yeni) override;
    void KartSutunu(QStringView stokKod, const QString &sutun, const QVariant &eski, const QVariant &yeni) override;
    void FiyatSutunu(QStringView stokKod, int seviye, const QString &sutun, const QVariant &eski,
                     const QVariant &yeni) override;
    void KartGeriAlindi(QStringView stokKod) override;
    void Onaylandi() override;
    void GeriAlindi() override;

private:
    enum Tablo { Tanim, Kart, Fiyat };
    RaporSatiri Satir(Tablo tablo, QString ne, const QString &sutun, const QVariant &eski, const QVariant &yeni);
    void AcikKartiBirak();
    const QString &SeviyeAdi(int seviye);
    void Ekle(Tablo tablo, const QString &ne, const QString &sutun, const QVariant &eski, const QVariant &yeni);

    RaporAlici &m_alici;
    std::vector<RaporKarti> m_bekleyen; // of the open group, in file order
    bool m_kartAcik = false;            // the last of m_bekleyen is still being written
    QHash<QString, SutunTipi> m_tipler[3]; // column -> its type, by table
    QHash<int, QString> m_seviyeler;       // "Fiyat n"
};

// The change report as a file: semicolon-separated, UTF-8 with a byte-order mark, a header
// line, one line per changed value. Written to a temporary file beside the target and
// renamed over it by Bitir(), so that memory stays bounded and a failed run leaves no half file.
class RaporDosyasi : public RaporAlici
{
public:
    // `firma`: the company column of every line.
    RaporDosyasi(const QString &yol, const QString &firma);
    // An empty text, or why the file cannot be written.
    QString Ac();
    void KartAlindi(RaporKarti &&kart) override;
    // Renames the file into place when it holds a change, else leaves nothing. An empty
    // text, or why the file could not be written.
    QString Bitir();
    qint64 SatirSayisi() const { return m_satirSayisi; }

private:
    void Bosalt();

    QSaveFile m_dosya;
    QString m_firma;
    QByteArray m_tampon;
    QString m_satirlar; // reused from card to card
    qint64 m_satirSayisi = 0;
    bool m_hata = false;
};

// The company as the report and the preview name it: "01 - MERKEZ MAĞAZA".
QString RaporFirmasi();

// The folder in the per-user data location where the screen keeps the last reports.
QString RaporKlasoru();
// A new report's path in that folder, by the clock.
QString YeniRaporYolu();
// Deletes all but the newest `kalan` reports of the folder.
void EskiRaporlariSil(int kalan = 20);
