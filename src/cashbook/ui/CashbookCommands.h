#pragma once

class TMain;

// The cashbook's main-window commands: cashbook categories and credit cards.
void connectCashbookCommands(TMain& main);
