#pragma once

struct sqlite3;

// Turkish alphabetical order with case ignored and accents not (how the back-office's SQL
// Server, under Turkish_CI_AS, orders and compares names): C < Ç < D, I = ı < İ = i, a = A,
// a < â. The embedded backend names it in the statements it rewrites, never in a schema, so
// other SQLite tools still read the files.
inline constexpr char TurkceSiralamaAdi[] = "TURKCE";

// Compares two UTF-8 texts in that order: negative, 0 or positive. The characters a
// back-office holds (ASCII, the Turkish letters, â î û) are weighed here; any other text is
// compared by the Turkish collator of the platform, which this order follows.
int TurkceKarsilastir(const char *a, int aUzunluk, const char *b, int bUzunluk);

// Makes the order known to a connection under TurkceSiralamaAdi; false when SQLite refuses.
bool TurkceSiralamaKaydet(sqlite3 *db);
