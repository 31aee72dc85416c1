#include "ledger/ui/PaymentReceipt.h"

#include "ledger/Payment.h"
#include "shell/AppState.h"

void printPaymentReceipt(AppState& state, const PaymentResult& payment)
{
    // The invoice layout is not part of the program yet; the payment is recorded without it.
    Q_UNUSED(state);
    Q_UNUSED(payment);
}
