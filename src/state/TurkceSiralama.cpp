#include "state/TurkceSiralama.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <array>
#include <sqlite3.h>

namespace {

// Characters weighed here: code points below this bound.
constexpr int TabloBoyu = 0x180;

struct Agirlik {
    quint16 birincil = 0; // 0: not weighed here
    quint8 ikincil = 0;   // 1: the letter carries a circumflex
};

// The Turkish collator's order at secondary strength, one group per primary weight; in a
// group, upper and lower case weigh alike and a circumflex differs only at the second level.
// Tab and blank come first, then punctuation and symbols, digits, letters.
constexpr const char16_t *Gruplar[] = {
    u"\t", u" ", u"_", u"-", u",", u";", u":", u"!", u"?", u".", u"'", u"\"", u"(", u")", u"[", u"]", u"{", u"}",
    u"@", u"*", u"/", u"\\", u"&", u"#", u"%", u"`", u"^", u"+", u"<", u"=", u">", u"|", u"~", u"$",
    u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9",
    u"aAâÂ", u"bB", u"cC", u"çÇ", u"dD", u"eE", u"fF", u"gG", u"ğĞ", u"hH", u"ıIÎ", u"iİî", u"jJ", u"kK", u"lL",
    u"mM", u"nN", u"oO", u"öÖ", u"pP", u"qQ", u"rR", u"sS", u"şŞ", u"tT", u"uUûÛ", u"üÜ", u"vV", u"wW", u"xX",
    u"yY", u"zZ"};

const std::array<Agirlik, TabloBoyu> &Tablo()
{
    static const std::array<Agirlik, TabloBoyu> tablo = [] {
        std::array<Agirlik, TabloBoyu> t{};
        quint16 birincil = 0;
        for (const char16_t *grup : Gruplar) {
            ++birincil;
            for (const char16_t *c = grup; *c; ++c) {
                const bool sapkali = *c == u'â' || *c == u'Â' || *c == u'î' || *c == u'Î' || *c == u'û' || *c == u'Û';
                t[*c] = {birincil, quint8(sapkali ? 1 : 0)};
            }
        }
        return t;
    }();
    return tablo;
}

// Reads the character at `i` and moves past it; false when it is not weighed here.
inline bool Oku(const unsigned char *s, int n, int &i, const std::array<Agirlik, TabloBoyu> &t, Agirlik &a)
{
    const unsigned char c = s[i];
    if (c < 0x80) {
        a = t[c];
        ++i;
        return a.birincil != 0;
    }
    if (c < 0xC2 || c > 0xC5 || i + 1 >= n || (s[i + 1] & 0xC0) != 0x80)
        return false;
    a = t[((c & 0x1F) << 6) | (s[i + 1] & 0x3F)];
    i += 2;
    return a.birincil != 0;
}

bool HepsiTartilir(const unsigned char *s, int bas, int son, const std::array<Agirlik, TabloBoyu> &t)
{
    Agirlik a;
    for (int i = bas; i < son;)
        if (!Oku(s, son, i, t, a))
            return false;
    return true;
}

// Anything else: the platform's Turkish collator, one per thread that compares.
int GenelKarsilastir(const char *a, int an, const char *b, int bn)
{
    static thread_local const QCollator karsilastirici = [] {
        QCollator k{QLocale(QLocale::Turkish, QLocale::Turkey)};
        k.setCaseSensitivity(Qt::CaseInsensitive);
        return k;
    }();
    return karsilastirici.compare(QString::fromUtf8(a, an), QString::fromUtf8(b, bn));
}

int SqliteKarsilastir(void *, int an, const void *a, int bn, const void *b)
{
    return TurkceKarsilastir(static_cast<const char *>(a), an, static_cast<const char *>(b), bn);
}

} // namespace

int TurkceKarsilastir(const char *a, int an, const char *b, int bn)
{
    const auto &t = Tablo();
    const auto *x = reinterpret_cast<const unsigned char *>(a);
    const auto *y = reinterpret_cast<const unsigned char *>(b);

    // Identical bytes weigh alike, as long as each of their characters is weighed here.
    const int ortak = std::min(an, bn);
    int i = 0;
    bool bakilacak = false;
    while (i < ortak && x[i] == y[i]) {
        bakilacak |= x[i] >= 0x80 || t[x[i]].birincil == 0;
        ++i;
    }
    if (i == an && i == bn)
        return 0;
    // Back to the start of the character the two differ in.
    const unsigned char *z = i < an ? x : y;
    while (i > 0 && (z[i] & 0xC0) == 0x80)
        --i;
    if (bakilacak && !HepsiTartilir(x, 0, i, t))
        return GenelKarsilastir(a, an, b, bn);

    // Primary weights decide; the first circumflex difference only between equal ones.
    int ikincil = 0;
    int p = i, q = i;
    Agirlik u, v;
    while (p < an && q < bn) {
        if (!Oku(x, an, p, t, u) || !Oku(y, bn, q, t, v))
            return GenelKarsilastir(a, an, b, bn);
        if (u.birincil != v.birincil)
            return u.birincil < v.birincil ? -1 : 1;
        if (ikincil == 0 && u.ikincil != v.ikincil)
            ikincil = u.ikincil < v.ikincil ? -1 : 1;
    }
    // An unknown character left over might weigh nothing.
    if (!HepsiTartilir(x, p, an, t) || !HepsiTartilir(y, q, bn, t))
        return GenelKarsilastir(a, an, b, bn);
    if (p < an)
        return 1;
    if (q < bn)
        return -1;
    return ikincil;
}

bool TurkceSiralamaKaydet(sqlite3 *db)
{
    return db
           && sqlite3_create_collation_v2(db, TurkceSiralamaAdi, SQLITE_UTF8, nullptr, SqliteKarsilastir, nullptr)
                  == SQLITE_OK;
}
