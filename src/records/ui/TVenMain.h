#pragma once

#include <QWidget>

class AppState;
class ListWindow;

// "Vendors": the vendor list.
class TVenMain : public QWidget
{
    Q_OBJECT
public:
    explicit TVenMain(AppState& state, QWidget* parent = nullptr);
    ListWindow* list() const { return m_list; }

    void newVendor();
    void editVendor();
    void deleteVendor();

    // A new vendor through the vendor dialog on the shared vendors table (also the cashbook
    // entry's "Ne&w..."). Returns the new VID, or 0 when cancelled or refused.
    static int addVendor(AppState& state, QWidget* parent);

private:
    AppState& m_state;
    ListWindow* m_list;
};
