#pragma once

// Makes Qt's own texts Turkish for the running application: the translation of its dialogs
// (file and print dialogs, standard buttons) and the Turkish locale as the default one, in
// which Qt names file types and writes the numbers it formats itself. False when the
// translation is not installed on this machine (the locale is set all the same).
bool QtTurkcesiniKur();
