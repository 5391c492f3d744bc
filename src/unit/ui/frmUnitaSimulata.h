#pragma once
#include "base/ui/ChildWindow.h"
#include "unit/UnitSettingsForm.h"
#include <map>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace unit {

class SimulatedUnitSystem;

// The simulated unit's settings: speed profile, selected curve and timing module, battery
// voltage and faults, applied all at once; a status line shows what the unit is doing.
// It has no window record.
class frmUnitaSimulata : public base::ChildWindow {
    Q_OBJECT
public:
    static constexpr int StatusIntervalMs = 250;

    frmUnitaSimulata(base::WindowContext& ctx, SimulatedUnitSystem& unit,
                     QWidget* parent = nullptr);

    void Form_Load() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString tr2(const char* italian, const char* english) const;
    QLineEdit* makeField(UnitFormField field, const char* name);
    QLabel* captionFor(UnitFormField field);
    void buildLayout();
    void showForm(const UnitFormFields& fields);
    UnitFormFields readForm() const;
    void markField(QLineEdit* box, bool bad);

    void ComApplica_Click();
    void TimerStato_Timer();

    SimulatedUnitSystem& unit_;

    QGroupBox* FraMotore;
    QGroupBox* FraBatteria;
    QGroupBox* FraGuasti;
    QComboBox* CmbProfilo;
    QLineEdit* TextRpm;
    QLineEdit* TextRpmMin;
    QLineEdit* TextRpmMax;
    QLineEdit* TextPeriodo;
    QLineEdit* TextRpmMinimo;
    QLineEdit* TextJitter;
    QComboBox* CmbCurva;
    QComboBox* CmbModulo;
    QLineEdit* TextVBatt;
    QLineEdit* TextRipple;
    QCheckBox* ChkPerdi;
    QCheckBox* ChkCorrompi;
    QCheckBox* ChkModuloErrato;
    QCheckBox* ChkMuto;
    QCheckBox* ChkRifiuta;
    QComboBox* CmbRispostaEEPROM;
    QPushButton* ComApplica;
    QLabel* LabStato;
    QTimer* TimerStato;

    std::map<UnitFormField, QLineEdit*> fields_;
};

} // namespace unit
