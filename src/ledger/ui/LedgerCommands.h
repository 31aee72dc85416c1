#pragma once

class TMain;

// The rent ledger's main-window commands: collecting rent, the payment history with voiding,
// adjusting rents.
void connectLedgerCommands(TMain& main);

// "Collect Rent ": the tenant picker, the tenant's unit, then the payment screen inside one
// transaction that its OK commits and its Cancel undoes.
void collectRent(TMain& main);
