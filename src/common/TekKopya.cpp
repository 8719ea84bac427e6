#include "common/TekKopya.h"

#include <QDir>
#include <QStandardPaths>

TekKopyaKilidi::TekKopyaKilidi(const QString &yol) : m_kilit(yol)
{
    // Only a dead owner makes the lock stale, never its age: a copy may run for days.
    m_kilit.setStaleLockTime(0);
}

bool TekKopyaKilidi::Al()
{
    return m_kilit.tryLock(0);
}

void TekKopyaKilidi::Birak()
{
    m_kilit.unlock();
}

QString TekKopyaKilidi::VarsayilanYol()
{
    QString klasor = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (klasor.isEmpty())
        klasor = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    QDir().mkpath(klasor);
    // The temporary folder may be shared by every user of the machine: the name says whose.
    QString kullanici = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    kullanici.remove(QLatin1Char('/')).remove(QLatin1Char('\\'));
    return QDir(klasor).filePath(QStringLiteral("stoktransfer-%1.lock").arg(kullanici));
}
