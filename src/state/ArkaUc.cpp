#include "state/ArkaUc.h"

#include "state/Baglanti.h"
#include "state/Hata.h"
#include "state/SqlServerArkaUcu.h"
#include "state/SqliteArkaUcu.h"

#include <QLocale>
#include <QSqlError>

namespace {

// A lock another connection holds is waited for this long, then reported.
constexpr int VarsayilanKilitBeklemesiMs = 5000;

} // namespace

std::unique_ptr<ArkaUc> ArkaUcSec(const QString &server)
{
    if (const auto klasor = VeriTabaniBaglantisi::SQLiteKlasoru(server))
        return std::make_unique<SqliteArkaUcu>(*klasor);
    return std::make_unique<SqlServerArkaUcu>(server);
}

int KilitBeklemesiMs()
{
    bool tamam = false;
    const int ms = qEnvironmentVariableIntValue("STOKTRANSFER_BUSY_TIMEOUT_MS", &tamam);
    return tamam && ms >= 0 ? ms : VarsayilanKilitBeklemesiMs;
}

void VeritabaniHatasiFirlat(const ArkaUc &arkaUc, QString metin, const QString &yerelKod)
{
    bool tamam = false;
    const qint64 numara = yerelKod.toLongLong(&tamam);
    if (arkaUc.KilitZamanAsimiMi(yerelKod))
        metin = QStringLiteral("Kayıtlar başka bir bağlantı tarafından kilitli; %1 saniye beklendi, işlem yapılamadı. (%2)")
                    .arg(QLocale(QLocale::Turkish).toString(KilitBeklemesiMs() / 1000.0), metin);
    throw Hata(metin, tamam && numara != 0 ? numara : Hata::GenelHataNo);
}

void VeritabaniHatasiFirlat(const ArkaUc &arkaUc, const QSqlError &hata)
{
    const QString metin = hata.databaseText();
    VeritabaniHatasiFirlat(arkaUc, metin.isEmpty() ? hata.text() : metin, hata.nativeErrorCode());
}
