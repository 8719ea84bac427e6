#include "common/KodSayfasi.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr auto KodSayfasiAdi = "windows-1254";
}

std::optional<QByteArray> Windows1254e(const QString &metin)
{
    QStringEncoder kodlayici(KodSayfasiAdi);
    QByteArray baytlar = kodlayici.encode(metin);
    if (kodlayici.hasError())
        return std::nullopt;
    return baytlar;
}

int Windows1254Kodu(QChar karakter)
{
    const auto bayt = Windows1254e(QString(karakter));
    if (!bayt || bayt->size() != 1)
        return -1;
    return static_cast<unsigned char>(bayt->at(0));
}

QString Windows1254ten(const QByteArray &baytlar)
{
    QStringDecoder cozucu(KodSayfasiAdi);
    return cozucu.decode(baytlar);
}
