#pragma once

#include <QDialog>

#include <optional>

class AppFolder;
class Prompts;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class RSComm;
class SerialPort;
class Spinner;

// "Comm Port Settings": the link's port number and speed. Save writes the
// settings file and the development tool's port files; when the link was
// online, it is reopened with the new settings and the dialog closes only
// if the board answered. The port field is checked whenever it is left.
class frmSetupComm : public QDialog {
public:
    frmSetupComm(RSComm& link, SerialPort& commObj, Prompts& prompts, const AppFolder& folder,
                 QWidget* parent = nullptr);
    ~frmSetupComm() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void loadCurrentSettings();
    // The field's number, checked by the rule of every entry field against
    // the spinner's 1..99; nothing when refused. What is checked is saved.
    std::optional<qint32> portNumber() const;
    // The "Comm Port" message, then the focus back in the field.
    void refusePortField();
    void showDevice();
    void cmdSave_Click();

    RSComm& m_link;
    SerialPort& m_commObj;
    Prompts& m_prompts;
    const AppFolder& m_folder;
    bool m_wasOnline = false;
    // The leave check has just refused the field (a click on Save leaves it
    // first): Save must not show the same message again.
    bool m_refusalShown = false;

    QLineEdit* m_txtCommPort = nullptr;
    Spinner* m_updCommPort = nullptr;
    QLabel* m_lblDevice = nullptr;
    QRadioButton* m_optPortSpeed19200 = nullptr;
    QRadioButton* m_optPortSpeed9600 = nullptr;
    QPushButton* m_cmdSave = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};
