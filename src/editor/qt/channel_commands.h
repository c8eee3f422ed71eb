// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "radio/document_history.h"

namespace qzm {

class AppShell;
class CZavoView;
struct ChannelTexts;

// The Edit menu's work on the editor form: undo and redo of the document's history, whole
// channels on the clipboard and the channel operations.  Channels are the rows selected
// through the grid (the channel-number column, Shift and Ctrl with clicks, Shift with the
// arrows); with none selected, the channel of the current cell.
class ChannelCommands : public QObject {
    Q_OBJECT

  public:
    ChannelCommands(AppShell& shell, CZavoView& view);

    std::vector<int> selectedChannels() const;
    // Selects whole rows; the first becomes the current channel.
    void selectChannels(const std::vector<int>& channels);

    bool canUndo() const;
    bool canRedo() const;
    // "Undo band change\tCtrl+Z" and the like, in the current language; the plain item
    // text when there is nothing to name.
    static QString stepName(const EditStep& step);
    QString undoItemText() const;
    QString redoItemText() const;

    void undo();
    void redo();
    void copy();
    void cut();
    void paste();
    void clear();
    void insertEmpty();
    void remove();
    void moveUp();
    void moveDown();
    void selectAll();

    bool canMoveUp() const;
    bool canMoveDown() const;
    // The clipboard holds channels of ours or text.
    static bool canPaste();

    // The texts the grid shows, for the clipboard's text rows.
    static ChannelTexts gridTexts();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The current channel: the one of the grid's focus cell, else 1.
    int currentChannel() const;
    // Runs one channel operation as one history step and refills the view.
    template <typename Write>
    bool runStep(EditKind kind, int count, Write&& write);
    void tell(const QString& text);

    AppShell& shell_;
    CZavoView& view_;
};

}  // namespace qzm
