#pragma once

#include <QDialog>

// "About Halvex Configuration Tool": the program icon, its name and version,
// and an OK button at the top right.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
};
