#include "state/DegerMetin.h"

#include "state/ArkaUc.h"
#include "state/Hata.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

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

// A number text of the file's form, [+-]digits[,digits] or [+-],digits in ASCII, blanks
// around allowed: its sign and its digits, leading zeros of the whole part and trailing zeros
// of the fraction left out.
struct SayiParcalari {
    bool eksi = false;
    QStringView tam;
    QStringView kesir;
};

// Blanks around a text, cut without a call where there are none (nearly every value).
QStringView Kirp(QStringView metin)
{
    if (metin.isEmpty() || (metin.front().unicode() > ' ' && metin.back().unicode() > ' '))
        return metin;
    return metin.trimmed();
}

std::optional<SayiParcalari> SayiParcala(QStringView metin)
{
    const QStringView m = Kirp(metin);
    qsizetype i = 0;
    SayiParcalari p;
    if (i < m.size() && (m[i] == QLatin1Char('+') || m[i] == QLatin1Char('-'))) {
        p.eksi = m[i] == QLatin1Char('-');
        ++i;
    }
    const qsizetype tamBas = i;
    while (i < m.size() && m[i] >= QLatin1Char('0') && m[i] <= QLatin1Char('9'))
        ++i;
    const qsizetype tamSon = i;
    qsizetype kesirBas = i, kesirSon = i;
    if (i < m.size() && m[i] == QLatin1Char(',')) {
        kesirBas = ++i;
        while (i < m.size() && m[i] >= QLatin1Char('0') && m[i] <= QLatin1Char('9'))
            ++i;
        kesirSon = i;
    }
    if (i != m.size() || (tamSon == tamBas && kesirSon == kesirBas))
        return std::nullopt;
    p.tam = m.sliced(tamBas, tamSon - tamBas);
    while (!p.tam.isEmpty() && p.tam.front() == QLatin1Char('0'))
        p.tam = p.tam.sliced(1);
    p.kesir = m.sliced(kesirBas, kesirSon - kesirBas);
    while (!p.kesir.isEmpty() && p.kesir.back() == QLatin1Char('0'))
        p.kesir.chop(1);
    return p;
}

// The whole number of the digits, when it fits in 64 bits with its sign.
std::optional<qint64> TamSayiDegeri(const SayiParcalari &p)
{
    if (p.tam.size() > 19)
        return std::nullopt;
    quint64 mutlak = 0;
    for (const QChar c : p.tam) {
        const quint64 rakam = quint64(c.unicode() - '0');
        if (mutlak > (std::numeric_limits<quint64>::max() - rakam) / 10)
            return std::nullopt;
        mutlak = mutlak * 10 + rakam;
    }
    const quint64 sinir = p.eksi ? quint64(std::numeric_limits<qint64>::max()) + 1 : quint64(std::numeric_limits<qint64>::max());
    if (mutlak > sinir)
        return std::nullopt;
    return p.eksi ? qint64(0 - mutlak) : qint64(mutlak);
}

// The number as a double, exact to the last digit where it has at most 15 significant
// digits; nothing when it is beyond a double's range.
std::optional<double> OndalikDegeri(const SayiParcalari &p)
{
    if (p.tam.size() + p.kesir.size() <= 15) {
        // The digits as one whole number (below 2^53) divided once by an exact power of ten:
        // the correctly rounded quotient is the double nearest the decimal.
        static constexpr double onlar[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        qint64 tam = 0;
        for (const QChar c : p.tam)
            tam = tam * 10 + (c.unicode() - '0');
        for (const QChar c : p.kesir)
            tam = tam * 10 + (c.unicode() - '0');
        const double d = double(tam) / onlar[p.kesir.size()];
        return p.eksi ? -d : d;
    }
    std::string uzun;
    char kisa[64];
    const qsizetype boy = p.tam.size() + p.kesir.size() + 3;
    char *const bas = boy <= qsizetype(sizeof kisa) ? kisa : (uzun.resize(size_t(boy)), uzun.data());
    char *yaz = bas;
    if (p.eksi)
        *yaz++ = '-';
    for (const QChar c : p.tam)
        *yaz++ = char(c.unicode());
    if (p.tam.isEmpty())
        *yaz++ = '0';
    if (!p.kesir.isEmpty()) {
        *yaz++ = '.';
        for (const QChar c : p.kesir)
            *yaz++ = char(c.unicode());
    }
    double sonuc = 0;
    const auto [son, hata] = std::from_chars(bas, yaz, sonuc);
    if (hata != std::errc() || son != yaz || !std::isfinite(sonuc))
        return std::nullopt;
    return sonuc;
}

// The decimal as text with a point, which the database converts without losing a digit.
QString NoktaliMetin(const SayiParcalari &p)
{
    QString metin;
    if (p.eksi)
        metin += QLatin1Char('-');
    metin += p.tam.isEmpty() ? QStringLiteral("0") : p.tam.toString();
    if (!p.kesir.isEmpty())
        metin += QLatin1Char('.') + p.kesir.toString();
    return metin;
}

// Two or four digits at `konum`, or -1.
int Rakamlar(QStringView m, qsizetype konum, int adet)
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

bool AyracMi(QStringView m, qsizetype konum, char ayrac)
{
    return m[konum] == QLatin1Char(ayrac);
}

// The time after a 10-character date: none (midnight) or " HH:mm:ss".
bool SaatKismiOku(QStringView m, QTime &saat)
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
bool SaklananTarihOku(QStringView m, QDate &tarih, QTime &saat)
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
bool DosyaTarihiOku(QStringView m, QDate &tarih, QTime &saat)
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

namespace {

// The checks of MetinDegeri; the value is made only where `deger` asks for it. Returns why the
// text cannot go into the column, or an empty text.
QString Coz(QStringView metin, const SutunBilgisi &sutun, const ArkaUc *arkaUc, QVariant *deger)
{
    const auto reddet = [&](const QString &tur) {
        return QStringLiteral("'%1' değeri %2 sütununa yazılamaz.").arg(metin.toString(), tur);
    };
    const auto aralikDisi = [&](const QString &neden) {
        return QStringLiteral("'%1' değeri %2 sütununa sığmıyor (%3).").arg(metin.toString(), SutunTipiAdi(sutun), neden);
    };
    switch (sutun.tip) {
    case SutunTipi::TamSayi: {
        const auto p = SayiParcala(metin);
        if (!p || !p->kesir.isEmpty())
            return reddet(QStringLiteral("tamsayı"));
        const auto sayi = TamSayiDegeri(*p);
        qint64 enAz = std::numeric_limits<qint64>::min(), enCok = std::numeric_limits<qint64>::max();
        switch (sutun.tamSayiBayti) {
        case 1: enAz = 0; enCok = 255; break;
        case 2: enAz = -32768; enCok = 32767; break;
        case 4: enAz = std::numeric_limits<qint32>::min(); enCok = std::numeric_limits<qint32>::max(); break;
        default: break;
        }
        if (!sayi || *sayi < enAz || *sayi > enCok)
            return aralikDisi(QStringLiteral("%1..%2").arg(enAz).arg(enCok));
        if (deger)
            *deger = QVariant(qlonglong(*sayi));
        return QString();
    }
    case SutunTipi::Ondalik: {
        const auto p = SayiParcala(metin);
        if (!p)
            return reddet(QStringLiteral("sayı"));
        if (sutun.basamak > 0) {
            if (p->tam.size() > sutun.basamak - sutun.ondalik)
                return aralikDisi(QStringLiteral("en çok %1 tam basamak").arg(sutun.basamak - sutun.ondalik));
            if (p->kesir.size() > sutun.ondalik)
                return aralikDisi(QStringLiteral("en çok %1 ondalık basamak").arg(sutun.ondalik));
        }
        // Within a declared precision every number is a finite double.
        if (!deger && sutun.basamak > 0)
            return QString();
        const auto d = OndalikDegeri(*p);
        if (!d)
            return aralikDisi(QStringLiteral("sayı çok büyük"));
        if (deger) {
            // A double holds 15 significant digits exactly; a longer decimal goes as its text.
            const qsizetype anlamli = p->tam.size() + p->kesir.size();
            *deger = anlamli <= 15 ? QVariant(*d) : QVariant(NoktaliMetin(*p));
        }
        return QString();
    }
    case SutunTipi::Bit: {
        const QStringView m = metin.trimmed();
        bool dogru;
        if (m.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
            dogru = true;
        } else if (m.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
            dogru = false;
        } else {
            const auto p = SayiParcala(m);
            if (!p)
                return reddet(QStringLiteral("evet/hayır"));
            dogru = !p->tam.isEmpty() || !p->kesir.isEmpty();
        }
        if (deger)
            *deger = arkaUc->SaklananBit(dogru);
        return QString();
    }
    case SutunTipi::Tarih: {
        const QStringView m = metin.trimmed();
        if (m.isEmpty()) {
            if (deger)
                *deger = arkaUc->SaklananTarih(QDate(), QTime());
            return QString();
        }
        QDate tarih;
        QTime saat;
        // The file's own forms are read without a round trip through local time.
        if (!DosyaTarihiOku(m, tarih, saat) || tarih.year() < 1000) {
            QDateTime zaman;
            const QString tum = m.toString();
            for (const auto *bicim : {"dd.MM.yyyy HH:mm:ss", "dd.MM.yyyy", "dd.MM.yyyy HH:mm", "d.M.yyyy H:mm:ss", "d.M.yyyy"}) {
                zaman = QDateTime::fromString(tum, QLatin1String(bicim));
                if (zaman.isValid())
                    break;
            }
            if (!zaman.isValid())
                return reddet(QStringLiteral("tarih"));
            tarih = zaman.date();
            saat = zaman.time();
        }
        const QDate enErken = sutun.tarihAraligi == TarihAraligi::DateTime        ? QDate(1753, 1, 1)
                              : sutun.tarihAraligi == TarihAraligi::SmallDateTime ? QDate(1900, 1, 1)
                                                                                  : QDate(1, 1, 1);
        const QDate enGec = sutun.tarihAraligi == TarihAraligi::SmallDateTime ? QDate(2079, 6, 6) : QDate(9999, 12, 31);
        if (tarih < enErken || tarih > enGec)
            return aralikDisi(QStringLiteral("%1..%2").arg(enErken.toString(QStringLiteral("dd.MM.yyyy")),
                                                           enGec.toString(QStringLiteral("dd.MM.yyyy"))));
        if (deger)
            *deger = arkaUc->SaklananTarih(tarih, saat);
        return QString();
    }
    case SutunTipi::SabitMetin:
    case SutunTipi::DegiskenMetin:
        if (sutun.uzunluk > 0 && metin.size() > sutun.uzunluk)
            return QStringLiteral("'%1' değeri %2 karakterlik metin sütununa sığmıyor.").arg(metin.toString()).arg(sutun.uzunluk);
        break;
    case SutunTipi::Bilinmiyor:
        break;
    }
    if (deger)
        *deger = QVariant(metin.toString());
    return QString();
}

} // namespace

QVariant MetinDegeri(QStringView metin, const SutunBilgisi &sutun, const ArkaUc &arkaUc)
{
    QVariant deger;
    const QString neden = Coz(metin, sutun, &arkaUc, &deger);
    if (!neden.isEmpty())
        throw Hata(neden);
    return deger;
}

namespace {

// The number a text of SayiMetni's own form stands for, where that form is sure to be the one
// SayiMetni gives back for it: no sign but "-", no leading or trailing zeros, at most four
// decimals below 1e11, or a whole number below 1e15. Nothing for any other text.
std::optional<double> KendiSayiMetni(QStringView m)
{
    qsizetype i = 0;
    const bool eksi = !m.isEmpty() && m[0] == QLatin1Char('-');
    if (eksi)
        ++i;
    const qsizetype tamBas = i;
    qint64 tam = 0;
    while (i < m.size() && m[i] >= QLatin1Char('0') && m[i] <= QLatin1Char('9')) {
        tam = tam * 10 + (m[i].unicode() - '0');
        if (++i - tamBas > 15)
            return std::nullopt;
    }
    const qsizetype tamHane = i - tamBas;
    if (tamHane == 0 || (tamHane > 1 && m[tamBas] == QLatin1Char('0')))
        return std::nullopt;
    if (i == m.size()) {
        if (eksi && tam == 0)
            return std::nullopt;
        return eksi ? -double(tam) : double(tam);
    }
    if (m[i] != QLatin1Char(',') || tamHane > 11)
        return std::nullopt;
    ++i;
    const qsizetype kesirBas = i;
    qint64 kesir = 0;
    while (i < m.size() && m[i] >= QLatin1Char('0') && m[i] <= QLatin1Char('9')) {
        kesir = kesir * 10 + (m[i].unicode() - '0');
        if (++i - kesirBas > 4)
            return std::nullopt;
    }
    if (i != m.size() || i == kesirBas || m[i - 1] == QLatin1Char('0'))
        return std::nullopt;
    qint64 olcek = 1;
    for (qsizetype k = kesirBas; k < i; ++k)
        olcek *= 10;
    // The scaled whole number divided once: the double nearest the decimal.
    const double d = double(tam * olcek + kesir) / double(olcek);
    return eksi ? -d : d;
}

} // namespace

bool AyniMetin(const QVariant &deger, SutunTipi tip, QStringView metin)
{
    if (!deger.isValid() || deger.isNull())
        return metin.isEmpty();
    const int tur = deger.typeId();
    if ((tip == SutunTipi::Ondalik || tip == SutunTipi::TamSayi)
        && (tur == QMetaType::Double || tur == QMetaType::LongLong || tur == QMetaType::Int)) {
        // Equal numbers give equal texts; only unequal ones need the texts themselves, which a
        // double's noise past 15 digits can still make equal.
        const auto sayi = KendiSayiMetni(metin);
        if (sayi && (tur == QMetaType::Double ? deger.toDouble() == *sayi : double(deger.toLongLong()) == *sayi
                                                                                 && std::fabs(*sayi) < 9e15))
            return true;
    } else if (tur == QMetaType::QString && (tip == SutunTipi::SabitMetin || tip == SutunTipi::DegiskenMetin)) {
        return Kirp(*static_cast<const QString *>(deger.constData())) == metin;
    }
    return QStringView(DegerMetni(deger, tip)).trimmed() == metin;
}

QString MetinUygunsuzlugu(QStringView metin, const SutunBilgisi &sutun)
{
    return Coz(metin, sutun, nullptr, nullptr);
}
