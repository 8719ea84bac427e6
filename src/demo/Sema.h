#pragma once

#include <QStringList>

// The back-office tables the system relies on, in the embedded backend's form: SQL Server's
// type names as declared types, datetime stored as 'YYYY-MM-DD HH:MM:SS', bit as 0/1,
// identities as INTEGER PRIMARY KEY AUTOINCREMENT, text compared case-insensitively.

// "Defination_DB": users, companies and their settings.
QStringList TanimSemasi();
// One company database: stock cards, VAT groups, price definitions, prices, balances.
QStringList FirmaSemasi();
