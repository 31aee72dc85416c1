#pragma once

class AppState;
struct PaymentResult;

// The receipt of a payment being recorded (called after its TRANS row is stored and before its
// lines are): previewed when the preview setting is on, else printed.
void printPaymentReceipt(AppState& state, const PaymentResult& payment);
