#pragma once

#include <QTemporaryDir>

// Points the per-user settings store (the registry's stand-in) at a temporary folder for the
// lifetime of the object, so that no test reads or writes the developer's own settings.
class GeciciAyarlar
{
public:
    GeciciAyarlar();
    QString Klasor() const { return m_klasor.path(); }

private:
    QTemporaryDir m_klasor;
};
