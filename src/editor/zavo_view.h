#pragma once

#include <QWidget>
#include <array>
#include <cstddef>

#include "radio/document_view.h"

class QComboBox;

namespace qzm {

class AppShell;
class CZavoDoc;

// The editor form (template 101), the one view of the document.  It keeps no
// copy of any radio value: every control is filled from the image by
// OnUpdate, the single refill path, and every change the user makes is
// written into the image at once.  Only the check boxes have state of their
// own, the six integers that UpdateData exchanges with them.
class CZavoView : public QWidget, public DocumentView {
    Q_OBJECT

  public:
    CZavoView(AppShell& shell, CZavoDoc& document, QWidget* parent = nullptr);
    ~CZavoView() override;

    CZavoDoc& document() { return document_; }

    // After every New and Open: the refill, the main window fitted to the
    // form, the menu retitled.
    void OnInitialUpdate();
    // Window title, settings panel, then the check boxes from the integers.
    void OnUpdate() override;

    // The check-box integer (0 or 1) of control 1023, 1024, 1027, 1028, 1029
    // or 1030; the printout reads these.  0 for any other id.
    int checkBoxValue(int controlId) const;

  protected:
    // Captions from the language file, then every list, the DTMF field and
    // the check-box integers from the image.
    virtual void fillSettingsPanel();

    // The check boxes from the integers (fromControls false) or the integers
    // from the check boxes (true).
    void UpdateData(bool fromControls);

    AppShell& shell_;
    CZavoDoc& document_;

  private:
    void connectControls();
    void setReadingOrder();

    void onCheckBoxClicked(int controlId);
    void onListChanged(int controlId);
    void onDtmfFocusLost();
    void onBandListChanged();

    QComboBox* list(int controlId) const;

    // The check-box integers, 0 = clear, 1 = ticked, in the order of the
    // check-box table in zavo_view.cpp.
    static constexpr std::size_t kCheckBoxCount = 6;
    std::array<int, kCheckBoxCount> checkValues_{};
};

}  // namespace qzm
