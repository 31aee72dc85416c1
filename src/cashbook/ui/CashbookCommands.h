#pragma once

class TMain;

// The cashbook's main-window commands: the cashbook, recording expense and income, cashbook
// categories and credit cards.
void connectCashbookCommands(TMain& main);
