#pragma once

class TMain;

// Each record area makes its main-window commands live (with their rights checks) here.
// Owners, buildings, vendors, the Equipment Manager and the pickers.
void connectRecordCommands(TMain& main);
// Tenants, with their details and deposits.
void connectTenantCommands(TMain& main);
// Units, rental agreements, lease terms and a unit's recurring charges.
void connectUnitCommands(TMain& main);
