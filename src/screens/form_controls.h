// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The controls window (ヘルプ > 操作方法, or F1): a small window that lists what every key and
// gamepad button does, with the keys the player has given the actions, in the language shown.
// It does not hold the game: the race screen stays as it is behind it (a running race pauses,
// as it does whenever its window loses the focus).
#pragma once

#include <QDialog>

class QGridLayout;
class QPushButton;

class form_Controls : public QDialog
{
    Q_OBJECT
public:
    // Opens the window over `over`, or brings the open one up afresh: its texts and keys are
    // those of this moment.
    static form_Controls* Open(QWidget* over);
    // The controls window that is open now, or null.
    static form_Controls* current();

    // The row of each control as shown: what it does, its keys, its gamepad buttons.
    struct Row {
        QString what;
        QString keys;
        QString pad;
    };
    const QList<Row>& rows() const { return rows_; }

private:
    explicit form_Controls(QWidget* parent);
    ~form_Controls() override;
    void fill();

    QGridLayout* grid_ = nullptr;
    QPushButton* close_ = nullptr;
    QList<Row> rows_;
};
