#include "common/KodSayfasi.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace {
constexpr auto KodSayfasiAdi = "windows-1254";

std::optional<QByteArray> KodlayiciIle(const QString &metin)
{
    QStringEncoder kodlayici(KodSayfasiAdi);
    QByteArray baytlar = kodlayici.encode(metin);
    if (kodlayici.hasError())
        return std::nullopt;
    return baytlar;
}

// The code page's characters above ASCII and their bytes, taken once from the converter
// itself (a byte counts only when it comes back as itself), so that the fast path below
// cannot disagree with it. Setting up a converter costs more than encoding a whole line.
struct Tablo {
    std::array<char16_t, 128> karakter{};
    std::array<uchar, 128> bayt{};
    int sayi = 0;

    Tablo()
    {
        QStringDecoder cozucu(KodSayfasiAdi);
        for (int b = 0x80; b <= 0xFF; ++b) {
            const QString c = cozucu.decode(QByteArray(1, char(b)));
            if (c.size() != 1 || c[0] == QChar::ReplacementCharacter || c[0].unicode() < 0x80)
                continue;
            const auto geri = KodlayiciIle(c);
            if (!geri || geri->size() != 1 || uchar(geri->at(0)) != b)
                continue;
            karakter[size_t(sayi)] = c[0].unicode();
            bayt[size_t(sayi)] = uchar(b);
            ++sayi;
        }
    }

    int Bul(char16_t c) const
    {
        for (int i = 0; i < sayi; ++i)
            if (karakter[size_t(i)] == c)
                return bayt[size_t(i)];
        return -1;
    }
};

const Tablo &KodTablosu()
{
    static const Tablo tablo;
    return tablo;
}

} // namespace

std::optional<QByteArray> Windows1254e(const QString &metin)
{
    QByteArray baytlar(metin.size(), Qt::Uninitialized);
    char *yaz = baytlar.data();
    for (const QChar c : metin) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            *yaz++ = char(u);
            continue;
        }
        const int b = KodTablosu().Bul(u);
        if (b < 0)
            return KodlayiciIle(metin); // the converter decides what the table does not hold
        *yaz++ = char(b);
    }
    return baytlar;
}

int Windows1254Kodu(QChar karakter)
{
    const auto bayt = Windows1254e(QString(karakter));
    if (!bayt || bayt->size() != 1)
        return -1;
    return static_cast<unsigned char>(bayt->at(0));
}

const std::array<char16_t, 256> &Windows1254Karakterleri()
{
    static const std::array<char16_t, 256> karakterler = [] {
        std::array<char16_t, 256> k{};
        for (int b = 0; b < 0x80; ++b)
            k[size_t(b)] = char16_t(b);
        const Tablo &t = KodTablosu();
        // The bytes the code page leaves undefined come back as C1 control characters.
        for (int i = 0; i < t.sayi; ++i)
            if (t.karakter[size_t(i)] > 0x9F)
                k[t.bayt[size_t(i)]] = t.karakter[size_t(i)];
        return k;
    }();
    return karakterler;
}

QString Windows1254ten(const QByteArray &baytlar)
{
    QStringDecoder cozucu(KodSayfasiAdi);
    return cozucu.decode(baytlar);
}
