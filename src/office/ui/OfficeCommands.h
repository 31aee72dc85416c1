#pragma once

class TMain;

// Reminders and the to-do list: their main-window commands, open to every user.
void connectOfficeCommands(TMain& main);
