#include "support/GeciciAyarlar.h"

#include <QSettings>
#include <QStandardPaths>
#include <stdexcept>

GeciciAyarlar::GeciciAyarlar()
{
    if (!m_klasor.isValid())
        throw std::runtime_error("temporary folder");
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_klasor.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_klasor.path());
}
