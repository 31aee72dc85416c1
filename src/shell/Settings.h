#pragma once

class QSettings;

// The four yes/no program settings. Read once when the main window is made, written after
// the options dialog and when the program closes.
struct Settings
{
    bool PasswordChecking = true;
    bool STCB = true;
    bool printrec = true;
    bool printprev = true;

    // Reads what is present; printprev is read only together with printrec.
    void read(QSettings& store);
    void write(QSettings& store) const;

    // The program's own store: the "Marbleway/keystead" settings, group "2008/data".
    static void readDefault(Settings& settings);
    static void writeDefault(const Settings& settings);
};
