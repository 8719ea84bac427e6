#include "transfer/AktarimDosyasi.h"

#include "common/KodSayfasi.h"
#include "state/Hata.h"

#include <QDir>
#include <QRegularExpression>
#include <cerrno>
#include <cmath>

namespace {

const QString KartKuyrugu = QStringLiteral(" FROM STOKKART,KDVGRUPLARI WHERE STOKKART.KDVGrup_ID=KDVGRUPLARI.Grup_ID");
const QString FiyatBasi = QStringLiteral("SELECT Fiyat_Sira_No,Stok_ID,Fiyat_Aciklama ");
const QString SatisGrubu = QStringLiteral(" ,Ana_Birim_Fiyat,Birim2_Fiyat,Birim3_Fiyat,Dv_Ana_Birim_Fiyat,Dv_Birim2_Fiyat,Dv_Birim3_Fiyat ");
const QString AlisGrubu = QStringLiteral(
    " ,Ana_Birim_Fiyat_Alis,Birim2_Fiyat_Alis,Birim3_Fiyat_Alis,Dv_Ana_Birim_Fiyat_Alis,Dv_Birim2_Fiyat_Alis,Dv_Birim3_Fiyat_Alis ");
const QString FiyatKuyrugu = QStringLiteral(" FROM STOKFIYAT");

const QString TurUyusmazligi = QStringLiteral("Tür uyuşmazlığı");
const QString Tasma = QStringLiteral("Taşma");
const QString DosyaSonu = QStringLiteral("Dosya sonundan sonra okuma girişimi");

constexpr qint64 TurUyusmazligiNo = 13;
constexpr qint64 TasmaNo = 6;
constexpr qint64 DosyaSonuNo = 62;
constexpr qsizetype Parca = 64 * 1024;

QStringList GrupSutunlari(const QString &grup)
{
    return grup.trimmed().mid(1).split(QLatin1Char(','));
}

double SayiOku(const QString &metin)
{
    static const QRegularExpression bicim(QStringLiteral(R"(^[+-]?(\d+(,\d*)?|,\d+)$)"));
    const QString m = metin.trimmed();
    if (!bicim.match(m).hasMatch())
        throw Hata(TurUyusmazligi, TurUyusmazligiNo);
    QString c = m;
    c.replace(QLatin1Char(','), QLatin1Char('.'));
    return c.toDouble();
}

// The fields before the first three ";", or nothing when there are fewer.
std::optional<QStringList> UcAlan(const QString &satir)
{
    QStringList alanlar;
    qsizetype bas = 0;
    for (int i = 0; i < 3; ++i) {
        const qsizetype p = satir.indexOf(QLatin1Char(';'), bas);
        if (p < 0)
            return std::nullopt;
        alanlar << satir.mid(bas, p - bas);
        bas = p + 1;
    }
    return alanlar;
}

} // namespace

QString DegerSatiri(const QStringList &degerler)
{
    qsizetype uzunluk = degerler.size();
    for (const QString &d : degerler)
        uzunluk += d.size();
    QString satir;
    satir.reserve(uzunluk);
    for (const QString &d : degerler) {
        satir += d;
        satir += QLatin1Char(';');
    }
    return satir;
}

QString SayiSatiri(int sayi)
{
    return QLatin1Char(' ') + QString::number(sayi) + QLatin1Char(' ');
}

QString KartSutunSatiri(const QStringList &sorguSutunlari)
{
    QStringList adlar;
    for (int i = 0; i < sorguSutunlari.size(); ++i) {
        const QString &ad = sorguSutunlari[i];
        if (ad == QLatin1String("Stok_ID") || ad == QLatin1String("KDVGrup_ID"))
            continue;
        const bool son = i == sorguSutunlari.size() - 1;
        const QString buyuk = ad.toUpper();
        const bool onekli = !son && (ad == QLatin1String("Kullanici_ID") || ad == QLatin1String("KDV")
                                     || buyuk.contains(QLatin1String("YR_")) || buyuk.contains(QLatin1String("DEG_")));
        adlar << (onekli ? QStringLiteral("STOKKART.") + ad : ad);
    }
    return QStringLiteral("SELECT ") + adlar.join(QLatin1Char(',')) + KartKuyrugu;
}

QString FiyatOnEki(bool satis, bool alis)
{
    return FiyatBasi + (satis ? SatisGrubu : QString()) + (alis ? AlisGrubu : QString()) + FiyatKuyrugu;
}

QString DegerYazilamazNedeni(const QString &deger)
{
    // Plain ASCII without a separator or line end, nearly every value, needs no encoding.
    bool sade = true;
    for (const QChar c : deger) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || u == ';' || u == '\r' || u == '\n') {
            sade = false;
            break;
        }
    }
    if (sade)
        return QString();
    if (deger.contains(QLatin1Char(';')))
        return QStringLiteral("değer \";\" içeriyor");
    if (deger.contains(QLatin1Char('\r')) || deger.contains(QLatin1Char('\n')))
        return QStringLiteral("değer satır sonu içeriyor");
    if (!Windows1254e(deger))
        return QStringLiteral("değer Windows-1254 kod sayfasında olmayan bir karakter içeriyor");
    return QString();
}

qint16 Tamsayi16(const QString &metin)
{
    const double d = std::nearbyint(SayiOku(metin)); // the default rounding mode: halves to even
    if (d < -32768 || d > 32767)
        throw Hata(Tasma, TasmaNo);
    return qint16(d);
}

bool EvetHayir(const QString &metin)
{
    const QString m = metin.trimmed();
    if (m.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (m.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return SayiOku(m) != 0;
}

qint16 KdvSatiriOku(const QString &satir, KDVTanim &kdv)
{
    const auto alanlar = UcAlan(satir);
    if (!alanlar)
        return -1;
    kdv.Departman_No = Tamsayi16(alanlar->at(0));
    kdv.Departman_Adi = alanlar->at(1);
    kdv.KDV = Tamsayi16(alanlar->at(2));
    return 0;
}

qint16 FiyatTanimSatiriOku(const QString &satir, FiyatTanimSatiri &tanim)
{
    const auto alanlar = UcAlan(satir);
    if (!alanlar)
        return -1;
    tanim.Sira_No = Tamsayi16(alanlar->at(0));
    tanim.Fiyat_Aciklama = alanlar->at(1);
    tanim.On_Deger = EvetHayir(alanlar->at(2));
    return 0;
}

QStringList AlanSatiriOku(const QString &satir)
{
    QString liste = satir.mid(7);
    const qsizetype from = liste.indexOf(QLatin1String(" FROM"));
    if (from >= 0)
        liste = liste.left(from + 1);
    QStringList adlar = liste.split(QLatin1Char(','));
    for (QString &ad : adlar) {
        const qsizetype nokta = ad.indexOf(QLatin1Char('.'));
        if (nokta >= 0)
            ad = ad.mid(nokta + 1);
    }
    return adlar;
}

QStringList StokSatiriOku(const QString &satir)
{
    QStringList degerler;
    degerler.reserve(satir.count(QLatin1Char(';')) + 1);
    qsizetype bas = 0;
    while (bas < satir.size()) {
        const qsizetype p = satir.indexOf(QLatin1Char(';'), bas);
        if (p < 0) {
            degerler << satir.mid(bas);
            break;
        }
        degerler << satir.mid(bas, p - bas);
        bas = p + 1;
    }
    return degerler;
}

std::optional<QStringList> KartSutunSatiriCoz(const QString &satir)
{
    static const QRegularExpression ad(QStringLiteral(R"(^(STOKKART\.)?([A-Za-z_][A-Za-z0-9_]*)$)"));
    if (!satir.startsWith(QLatin1String("SELECT ")) || !satir.endsWith(KartKuyrugu))
        return std::nullopt;
    const QString liste = satir.mid(7, satir.size() - 7 - KartKuyrugu.size());
    const QStringList parcalar = liste.split(QLatin1Char(','));
    if (parcalar.isEmpty() || parcalar.last() != QLatin1String("Departman_No"))
        return std::nullopt;
    QStringList adlar;
    for (int i = 0; i + 1 < parcalar.size(); ++i) {
        const auto e = ad.match(parcalar[i]);
        if (!e.hasMatch())
            return std::nullopt;
        adlar << e.captured(2);
    }
    return adlar;
}

std::optional<FiyatOnEkiBicimi> FiyatOnEkiCoz(const QString &satir)
{
    for (const bool satis : {true, false}) {
        for (const bool alis : {true, false}) {
            if ((satis || alis) && satir == FiyatOnEki(satis, alis)) {
                FiyatOnEkiBicimi bicim;
                bicim.satis = satis;
                bicim.alis = alis;
                bicim.sutunlar = QStringList{QStringLiteral("Fiyat_Sira_No"), QStringLiteral("Stok_ID"),
                                             QStringLiteral("Fiyat_Aciklama")};
                if (satis)
                    bicim.sutunlar += GrupSutunlari(SatisGrubu);
                if (alis)
                    bicim.sutunlar += GrupSutunlari(AlisGrubu);
                return bicim;
            }
        }
    }
    return std::nullopt;
}

// ---- Reader --------------------------------------------------------------------------

AktarimOkuyucu::AktarimOkuyucu(const QString &yol) : m_dosya(yol), m_cozucu("windows-1254")
{
    if (!m_dosya.open(QIODevice::ReadOnly))
        throw Hata(QStringLiteral("Dosya açılamadı: %1").arg(m_dosya.errorString()), 75);
}

bool AktarimOkuyucu::Doldur()
{
    if (m_okunan > 0) {
        m_tampon.remove(0, m_okunan);
        m_okunan = 0;
    }
    const QByteArray yeni = m_dosya.read(Parca);
    if (yeni.isEmpty())
        return false;
    m_tampon += yeni;
    return true;
}

bool AktarimOkuyucu::Bitti()
{
    return m_okunan >= m_tampon.size() && !Doldur();
}

QString AktarimOkuyucu::SatirOku()
{
    return m_cozucu.decode(HamSatirOku());
}

void AktarimOkuyucu::SatirOku(QString &hedef)
{
    const QByteArrayView ham = HamSatirOku();
    hedef.resize(m_cozucu.requiredSpace(ham.size()));
    QChar *const son = m_cozucu.appendToBuffer(hedef.data(), ham);
    hedef.truncate(son - hedef.constData());
}

QByteArrayView AktarimOkuyucu::HamSatirOku()
{
    if (Bitti())
        throw Hata(DosyaSonu, DosyaSonuNo);
    qsizetype cr;
    for (;;) {
        cr = m_tampon.indexOf('\r', m_okunan);
        // A CR at the very end of the buffer may be followed by an LF not read yet.
        if (cr >= 0 && cr + 1 < m_tampon.size())
            break;
        if (!Doldur()) {
            cr = m_tampon.indexOf('\r', m_okunan);
            break;
        }
    }
    QByteArrayView satir;
    if (cr < 0) {
        satir = QByteArrayView(m_tampon).sliced(m_okunan);
        m_okunan = m_tampon.size();
        m_konum += satir.size();
    } else {
        satir = QByteArrayView(m_tampon).sliced(m_okunan, cr - m_okunan);
        qsizetype son = cr + 1;
        if (son < m_tampon.size() && m_tampon.at(son) == '\n')
            ++son;
        m_konum += son - m_okunan;
        m_okunan = son;
    }
    return satir;
}

void AktarimOkuyucu::KonumaGit(qint64 konum)
{
    if (!m_dosya.seek(konum))
        throw Hata(QStringLiteral("Dosyada konuma gidilemedi: %1").arg(m_dosya.errorString()), 75);
    m_tampon.clear();
    m_okunan = 0;
    m_konum = konum;
}

// ---- Writer --------------------------------------------------------------------------

namespace {
// Why the file could not be written, in the platform's own words ("No space left on device"):
// a short write leaves the device without an error of its own, errno still has it.
QString YazmaHatasi(const QFileDevice &dosya, int sistemHatasi)
{
    QString neden = QStringLiteral("dosya tamamlanamadı");
    if (dosya.error() != QFileDevice::NoError)
        neden = dosya.errorString();
    else if (sistemHatasi != 0)
        neden = qt_error_string(sistemHatasi);
    return QStringLiteral("%1 yazılamadı: %2").arg(QDir::toNativeSeparators(dosya.fileName()), neden);
}
} // namespace

AktarimYazici::AktarimYazici(const QString &yol) : m_dosya(yol)
{
    m_dosya.setDirectWriteFallback(false);
    // Unbuffered: the lines are gathered here, and a write that fails says so at once rather
    // than in the commit's flush, where the cause is lost.
    if (!m_dosya.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Hata(m_dosya.errorString(), 75);
}

AktarimYazici::~AktarimYazici()
{
    if (m_dosya.isOpen())
        m_dosya.cancelWriting();
}

void AktarimYazici::SatirYaz(const QString &satir)
{
    const auto baytlar = Windows1254e(satir);
    if (!baytlar)
        throw Hata(QStringLiteral("Satır Windows-1254 kod sayfasına çevrilemiyor: %1").arg(satir));
    m_tampon += *baytlar;
    m_tampon += "\r\n";
    if (m_tampon.size() >= Parca)
        Bosalt();
}

void AktarimYazici::Bosalt()
{
    if (m_tampon.isEmpty())
        return;
    // A full disk first shows as a short write; the write of the rest then fails with the cause.
    qsizetype yazilan = 0;
    while (yazilan < m_tampon.size()) {
        errno = 0;
        const qint64 n = m_dosya.write(m_tampon.constData() + yazilan, m_tampon.size() - yazilan);
        if (n <= 0)
            throw Hata(YazmaHatasi(m_dosya, errno), 61);
        yazilan += n;
    }
    m_tampon.clear();
}

void AktarimYazici::Tamamla()
{
    Bosalt();
    errno = 0;
    if (!m_dosya.commit())
        throw Hata(YazmaHatasi(m_dosya, errno), 75);
}
