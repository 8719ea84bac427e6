#include "login/HatirlananKullanici.h"

#include "common/Registry.h"

namespace HatirlananKullanici {

QString Kullanici()
{
    return RegistryOku(HKEY_CURRENT_USER_KOKU, Anahtar, KullaniciDegeri);
}

QString Server()
{
    return RegistryOku(HKEY_CURRENT_USER_KOKU, Anahtar, ServerDegeri);
}

void Kaydet(const QString &kullanici, const QString &server)
{
    RegistryYaz(HKEY_CURRENT_USER_KOKU, Anahtar, KullaniciDegeri, kullanici.trimmed());
    RegistryYaz(HKEY_CURRENT_USER_KOKU, Anahtar, ServerDegeri, server.trimmed());
}

} // namespace HatirlananKullanici
