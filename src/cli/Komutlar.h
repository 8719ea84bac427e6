#pragma once

struct KomutSecenekleri;

// Exit codes of stoktransfer-cli.
enum CikisKodu { Basarili = 0, Reddedildi = 1, KullanimHatasi = 2 };

int DemoKomutu(const KomutSecenekleri &s);
int ListeKomutu(const KomutSecenekleri &s);
int DisaAktarKomutu(const KomutSecenekleri &s);
int IceAktarKomutu(const KomutSecenekleri &s);
