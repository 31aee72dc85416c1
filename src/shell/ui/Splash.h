#pragma once

#include <QSplashScreen>

// The splash window of the start-up: kept on top of every other window while it shows, so it
// closes before the first dialog or message of the start-up (each of them dismisses it), and
// at the latest when the start-up ends.
class Splash : public QSplashScreen
{
    Q_OBJECT
public:
    Splash();
    ~Splash() override;

    // The program's picture.
    static QPixmap picture();

    // Closes the splash window if one shows; nothing otherwise.
    static void dismiss();
    // The splash window that shows, if any.
    static Splash* current();
};
