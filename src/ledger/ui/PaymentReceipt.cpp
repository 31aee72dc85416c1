#include "ledger/ui/PaymentReceipt.h"

#include "ledger/Payment.h"
#include "reports/TRepInvoice.h"
#include "shell/AppState.h"

void printPaymentReceipt(AppState& state, const PaymentResult& payment)
{
    InvoicePayment invoice;
    invoice.transId = payment.transId;
    invoice.date = payment.date;
    invoice.apid = payment.apId;
    invoice.tid = payment.tId;
    invoice.dueTotal = payment.dueTotal;
    invoice.payTotal = payment.payTotal;
    invoice.cash = payment.cash;
    invoice.check = payment.check;
    invoice.creditCard = payment.card;
    TRepInvoice::produce(state, invoice);
}
