#include "login/Sifreleme.h"

#include "common/KodSayfasi.h"

QString SifreKodla(const QString &sifre)
{
    QByteArray sonuc;
    for (int i = 0; i < sifre.size(); ++i) {
        int kod = Windows1254Kodu(sifre.at(i));
        if (kod < 0)
            kod = '?'; // what the platform makes of a character the code page lacks
        const int deger = kod * 2 + (i + 1);
        if (deger <= 255)
            sonuc.append(static_cast<char>(deger));
    }
    return Windows1254ten(sonuc);
}

QString BuyukHarf(const QString &metin)
{
    const QChar noktasizI(0x0131);
    if (!metin.contains(QLatin1Char('i')) && !metin.contains(noktasizI))
        return metin.toUpper();
    QString sonuc;
    sonuc.reserve(metin.size());
    for (const QChar c : metin) {
        if (c == noktasizI)
            sonuc += QLatin1Char('I');
        else if (c == QLatin1Char('i'))
            sonuc += QChar(0x0130);
        else
            sonuc += QString(c).toUpper();
    }
    return sonuc;
}
