#pragma once

class QPlainTextEdit;

// A several-line box that takes no more than LENGTH characters, as its column holds: what is
// typed or pasted beyond that is cut off at once instead of failing when stored.
void limitLength(QPlainTextEdit* edit, int length);
