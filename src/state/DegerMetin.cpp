#include "state/DegerMetin.h"

#include "state/ArkaUc.h"
#include "state/Hata.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

QString TarihMetni(const QDateTime &zaman)
{
    if (!zaman.isValid())
        return QString();
    QString metin = zaman.date().toString(QStringLiteral("dd.MM.yyyy"));
    if (zaman.time() != QTime(0, 0))
        metin += QLatin1Char(' ') + zaman.time().toString(QStringLiteral("HH:mm:ss"));
    return metin;
}

bool DogruMu(const QVariant &deger)
{
    if (deger.typeId() == QMetaType::QString) {
        const QString metin = deger.toString().trimmed();
        if (metin.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (metin.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        return metin.toDouble() != 0;
    }
    return deger.toDouble() != 0;
}

QString MetinSayisi(const QVariant &deger)
{
    switch (deger.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Char: case QMetaType::UChar:
        return QString::number(deger.toLongLong());
    case QMetaType::Double: case QMetaType::Float:
        return SayiMetni(deger.toDouble());
    default: {
        // A numeric column handed over as text (ODBC decimals, SQLite numeric affinity).
        bool sayi = false;
        const double d = deger.toString().toDouble(&sayi);
        return sayi ? SayiMetni(d) : deger.toString();
    }
    }
}

[[noreturn]] void Reddet(const QString &metin, const QString &tur)
{
    throw Hata(QStringLiteral("'%1' değeri %2 sütununa yazılamaz.").arg(metin, tur));
}

// [+-]digits[,digits] or [+-],digits in ASCII; nothing when the text holds other characters
// (the expression below then decides).
std::optional<bool> AsciiOndalikMi(const QString &m)
{
    qsizetype i = 0;
    const qsizetype n = m.size();
    if (i < n && (m[i] == QLatin1Char('+') || m[i] == QLatin1Char('-')))
        ++i;
    qsizetype tam = 0, kesir = 0;
    bool virgul = false;
    for (; i < n; ++i) {
        const char16_t c = m[i].unicode();
        if (c >= '0' && c <= '9')
            ++(virgul ? kesir : tam);
        else if (c == ',' && !virgul)
            virgul = true;
        else if (c < 0x80)
            return false;
        else
            return std::nullopt;
    }
    return tam > 0 || kesir > 0;
}

double OndalikOku(const QString &metin, const QString &tur)
{
    static const QRegularExpression bicim(QStringLiteral(R"(^[+-]?(\d+(,\d*)?|,\d+)$)"));
    const QString kirpik = metin.trimmed();
    const std::optional<bool> ascii = AsciiOndalikMi(kirpik);
    if (ascii ? !*ascii : !bicim.match(kirpik).hasMatch())
        Reddet(metin, tur);
    if (ascii && kirpik.size() < 64) {
        // Checked above to be plain ASCII digits: read without building another text.
        char tampon[64];
        int n = 0;
        for (const QChar c : kirpik)
            if (c != QLatin1Char('+'))
                tampon[n++] = c == QLatin1Char(',') ? '.' : char(c.unicode());
        double sonuc = 0;
        const auto [son, hata] = std::from_chars(tampon, tampon + n, sonuc);
        if (hata == std::errc() && son == tampon + n)
            return sonuc;
    }
    QString c = kirpik;
    c.replace(QLatin1Char(','), QLatin1Char('.'));
    return c.toDouble();
}

// Two or four digits at `konum`, or -1.
int Rakamlar(const QString &m, qsizetype konum, int adet)
{
    int sayi = 0;
    for (int i = 0; i < adet; ++i) {
        const char16_t c = m[konum + i].unicode();
        if (c < '0' || c > '9')
            return -1;
        sayi = sayi * 10 + (c - '0');
    }
    return sayi;
}

bool AyracMi(const QString &m, qsizetype konum, char ayrac)
{
    return m[konum] == QLatin1Char(ayrac);
}

// The time after a 10-character date: none (midnight) or " HH:mm:ss".
bool SaatKismiOku(const QString &m, QTime &saat)
{
    saat = QTime(0, 0);
    if (m.size() == 10)
        return true;
    if (!AyracMi(m, 10, ' ') || !AyracMi(m, 13, ':') || !AyracMi(m, 16, ':'))
        return false;
    const int s = Rakamlar(m, 11, 2), d = Rakamlar(m, 14, 2), sn = Rakamlar(m, 17, 2);
    if (s < 0 || d < 0 || sn < 0)
        return false;
    saat = QTime(s, d, sn);
    return saat.isValid();
}

// The embedded backend's stored forms "yyyy-MM-dd HH:mm:ss" and "yyyy-MM-dd", read without a
// round trip through local time (which costs a time zone look-up per value). False for any
// other form.
bool SaklananTarihOku(const QString &m, QDate &tarih, QTime &saat)
{
    if (m.size() != 10 && m.size() != 19)
        return false;
    if (!AyracMi(m, 4, '-') || !AyracMi(m, 7, '-'))
        return false;
    tarih = QDate(Rakamlar(m, 0, 4), Rakamlar(m, 5, 2), Rakamlar(m, 8, 2));
    if (Rakamlar(m, 0, 4) < 0 || Rakamlar(m, 5, 2) < 0 || Rakamlar(m, 8, 2) < 0 || !tarih.isValid())
        return false;
    return SaatKismiOku(m, saat);
}

// The file's forms "dd.MM.yyyy HH:mm:ss" and "dd.MM.yyyy" likewise.
bool DosyaTarihiOku(const QString &m, QDate &tarih, QTime &saat)
{
    if (m.size() != 10 && m.size() != 19)
        return false;
    if (!AyracMi(m, 2, '.') || !AyracMi(m, 5, '.'))
        return false;
    const int g = Rakamlar(m, 0, 2), a = Rakamlar(m, 3, 2), y = Rakamlar(m, 6, 4);
    if (g < 0 || a < 0 || y < 0)
        return false;
    tarih = QDate(y, a, g);
    if (!tarih.isValid())
        return false;
    return SaatKismiOku(m, saat);
}

void IkiHane(QString &metin, int sayi)
{
    metin += QLatin1Char(char('0' + sayi / 10));
    metin += QLatin1Char(char('0' + sayi % 10));
}

void DortHane(QString &metin, int sayi)
{
    IkiHane(metin, sayi / 100);
    IkiHane(metin, sayi % 100);
}

// " HH:mm:ss", the time part both date forms share.
void SaatEkle(QString &metin, const QTime &saat)
{
    metin += QLatin1Char(' ');
    IkiHane(metin, saat.hour());
    metin += QLatin1Char(':');
    IkiHane(metin, saat.minute());
    metin += QLatin1Char(':');
    IkiHane(metin, saat.second());
}

// dd.MM.yyyy[ HH:mm:ss] of a date and time read above (years 1000..9999).
QString TarihSaatMetni(const QDate &tarih, const QTime &saat)
{
    QString metin;
    metin.reserve(19);
    IkiHane(metin, tarih.day());
    metin += QLatin1Char('.');
    IkiHane(metin, tarih.month());
    metin += QLatin1Char('.');
    DortHane(metin, tarih.year());
    if (saat != QTime(0, 0))
        SaatEkle(metin, saat);
    return metin;
}

// Digits of a non-negative whole number at the end of `son`; returns where they start.
char *Basamaklar(char *son, quint64 sayi)
{
    do {
        *--son = char('0' + sayi % 10);
        sayi /= 10;
    } while (sayi != 0);
    return son;
}

// A value with at most four decimals (prices, quantities, rates: nearly every stored number)
// written from its scaled whole number instead of the general conversion. Such a value is the
// double nearest to a decimal of at most 15 significant digits, and 15 significant digits
// bring exactly that decimal back, so the text equals the 15-digit form below. False for any
// other value.
bool KisaSayiMetni(double sayi, QString &metin)
{
    if (!(std::fabs(sayi) < 1e11))
        return false;
    const double olcekli = std::nearbyint(sayi * 10000.0);
    const qint64 tam = static_cast<qint64>(olcekli);
    if (double(tam) / 10000.0 != sayi)
        return false;
    const quint64 mutlak = quint64(tam < 0 ? -tam : tam);
    char tampon[32];
    char *const son = tampon + sizeof tampon;
    quint64 kesir = mutlak % 10000;
    int kesirHanesi = 4;
    while (kesir != 0 && kesir % 10 == 0) {
        kesir /= 10;
        --kesirHanesi;
    }
    char *bas = son;
    if (kesir != 0) {
        for (int i = 0; i < kesirHanesi; ++i) {
            *--bas = char('0' + kesir % 10);
            kesir /= 10;
        }
        *--bas = ',';
    }
    bas = Basamaklar(bas, mutlak / 10000);
    if (tam < 0)
        *--bas = '-';
    metin = QString::fromLatin1(bas, son - bas);
    return true;
}

} // namespace

QString SayiMetni(double sayi)
{
    if (sayi == 0)
        return QStringLiteral("0");
    if (std::isfinite(sayi) && std::fabs(sayi) < 1e15 && sayi == std::trunc(sayi)) {
        char tampon[24];
        char *const son = tampon + sizeof tampon;
        const qint64 tam = static_cast<qint64>(sayi);
        char *bas = Basamaklar(son, quint64(tam < 0 ? -tam : tam));
        if (tam < 0)
            *--bas = '-';
        return QString::fromLatin1(bas, son - bas);
    }
    QString kisa;
    if (KisaSayiMetni(sayi, kisa))
        return kisa;
    QString metin = QString::number(sayi, 'g', 15);
    if (metin.contains(QLatin1Char('e'))) {
        metin = QString::number(sayi, 'f', 15);
        while (metin.endsWith(QLatin1Char('0')))
            metin.chop(1);
        if (metin.endsWith(QLatin1Char('.')))
            metin.chop(1);
    }
    metin.replace(QLatin1Char('.'), QLatin1Char(','));
    return metin;
}

QString SaklananTarihMetni(const QDate &tarih, const QTime &saat)
{
    QString metin;
    metin.reserve(19);
    DortHane(metin, tarih.year());
    metin += QLatin1Char('-');
    IkiHane(metin, tarih.month());
    metin += QLatin1Char('-');
    IkiHane(metin, tarih.day());
    SaatEkle(metin, saat);
    return metin;
}

QDateTime SQLiteTarihOku(const QString &metin)
{
    const QString m = metin.trimmed();
    for (const auto *bicim : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-ddTHH:mm:ss",
                              "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        QDateTime zaman = QDateTime::fromString(m, QLatin1String(bicim));
        if (zaman.isValid())
            return zaman;
    }
    return QDateTime();
}

QString DegerMetni(const QVariant &deger, SutunTipi tip)
{
    if (!deger.isValid() || deger.isNull())
        return QString();

    switch (tip) {
    case SutunTipi::Tarih:
        if (deger.typeId() == QMetaType::QDateTime)
            return TarihMetni(deger.toDateTime());
        if (deger.typeId() == QMetaType::QDate)
            return TarihMetni(QDateTime(deger.toDate(), QTime(0, 0)));
        {
            const QString metin = deger.toString();
            QDate tarih;
            QTime saat;
            if (SaklananTarihOku(metin.trimmed(), tarih, saat) && tarih.year() >= 1000)
                return TarihSaatMetni(tarih, saat);
            const QDateTime zaman = SQLiteTarihOku(metin);
            return zaman.isValid() ? TarihMetni(zaman) : deger.toString();
        }
    case SutunTipi::Bit:
        return DogruMu(deger) ? QStringLiteral("True") : QStringLiteral("False");
    case SutunTipi::TamSayi:
    case SutunTipi::Ondalik:
        return MetinSayisi(deger);
    case SutunTipi::SabitMetin:
    case SutunTipi::DegiskenMetin:
        return deger.toString();
    case SutunTipi::Bilinmiyor:
        break;
    }

    switch (deger.typeId()) {
    case QMetaType::Bool:
        return deger.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDateTime:
        return TarihMetni(deger.toDateTime());
    case QMetaType::QDate:
        return TarihMetni(QDateTime(deger.toDate(), QTime(0, 0)));
    case QMetaType::Double: case QMetaType::Float:
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort:
        return MetinSayisi(deger);
    default:
        return deger.toString();
    }
}

QVariant MetinDegeri(const QString &metin, const SutunBilgisi &sutun, const ArkaUc &arkaUc)
{
    switch (sutun.tip) {
    case SutunTipi::TamSayi: {
        if (metin.trimmed().isEmpty())
            Reddet(metin, QStringLiteral("sayı"));
        const double d = OndalikOku(metin, QStringLiteral("tamsayı"));
        if (d != std::trunc(d) || std::fabs(d) > 9.2e18)
            Reddet(metin, QStringLiteral("tamsayı"));
        return QVariant(static_cast<qlonglong>(d));
    }
    case SutunTipi::Ondalik:
        return QVariant(OndalikOku(metin, QStringLiteral("sayı")));
    case SutunTipi::Bit: {
        const QString m = metin.trimmed();
        bool deger;
        if (m.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            deger = true;
        else if (m.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            deger = false;
        else
            deger = OndalikOku(metin, QStringLiteral("evet/hayır")) != 0;
        return arkaUc.SaklananBit(deger);
    }
    case SutunTipi::Tarih: {
        const QString m = metin.trimmed();
        if (m.isEmpty())
            return arkaUc.SaklananTarih(QDate(), QTime());
        QDate tarih;
        QTime saat;
        // The file's own forms are read without a round trip through local time.
        if (!DosyaTarihiOku(m, tarih, saat) || tarih.year() < 1000) {
            QDateTime zaman;
            for (const auto *bicim : {"dd.MM.yyyy HH:mm:ss", "dd.MM.yyyy", "dd.MM.yyyy HH:mm", "d.M.yyyy H:mm:ss", "d.M.yyyy"}) {
                zaman = QDateTime::fromString(m, QLatin1String(bicim));
                if (zaman.isValid())
                    break;
            }
            if (!zaman.isValid())
                Reddet(metin, QStringLiteral("tarih"));
            tarih = zaman.date();
            saat = zaman.time();
        }
        return arkaUc.SaklananTarih(tarih, saat);
    }
    case SutunTipi::SabitMetin:
    case SutunTipi::DegiskenMetin:
        if (sutun.uzunluk > 0 && metin.size() > sutun.uzunluk)
            throw Hata(QStringLiteral("'%1' değeri %2 karakterlik metin sütununa sığmıyor.")
                           .arg(metin).arg(sutun.uzunluk));
        return QVariant(metin);
    case SutunTipi::Bilinmiyor:
        break;
    }
    return QVariant(metin);
}
