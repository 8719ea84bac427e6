#pragma once

#include <QString>

// The system's statements are SQL Server's. The embedded backend runs them after this one
// rewrite of exactly the constructs the system uses:
//  - "SELECT TOP n ..."       -> "SELECT ... LIMIT n"
//  - "=ANY(SELECT"            -> " IN (SELECT"
//  - date literals 'MM/DD/YYYY' -> the stored form 'YYYY-MM-DD 00:00:00', so that comparisons
//    with stored date-times give SQL Server's results, boundaries included.
QString SQLiteLehcesine(const QString &sql);
