#pragma once

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// The options of one command of stoktransfer-cli, as read from its arguments.
struct KomutSecenekleri {
    QString komut;                                   // demo, list, export, import
    QString server, kullanici, firma;                // login (demo: --user, the administrator)
    QVector<QPair<QString, QString>> baslangiclar;   // --set CAPTION=VALUE
    QVector<QPair<QString, QString>> bitisler;       // --end CAPTION=VALUE
    QString dosya;                                   // FILE, or demo's FOLDER or SERVER
    bool uzerineYaz = false;                         // --force (export, demo, import's report)
    bool deneme = false;                             // --dry-run
    bool istatistik = false;                         // --stats
    QString rapor;                                   // import --report FILE
    int kartSayisi = -1, fiyatSayisi = -1;           // demo --cards, --prices
};

// The options, or nothing with the reason in `hata` (a usage error).
std::optional<KomutSecenekleri> KomutSatiriniOku(const QStringList &arglar, QString *hata);

// The usage text printed with a usage error.
QString KullanimMetni();
