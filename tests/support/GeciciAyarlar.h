#pragma once

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <stdexcept>

// Points the per-user settings store (the registry's stand-in) at a temporary folder for the
// lifetime of the object, so that no test reads or writes the developer's own settings.
class GeciciAyarlar
{
public:
    GeciciAyarlar()
    {
        if (!m_klasor.isValid())
            throw std::runtime_error("temporary folder");
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_klasor.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_klasor.path());
    }
    QString Klasor() const { return m_klasor.path(); }

private:
    QTemporaryDir m_klasor;
};
