#include "unit/ui/frmUnitaSimulata.h"
#include "unit/backends/SimulatedUnitSystem.h"
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

using namespace base;

namespace unit {

namespace {

// Text boxes show a bad value on a light red ground until the next Apply.
constexpr const char* kInvalidProperty = "invalid";
constexpr const char* kInvalidStyle = "QLineEdit { background-color: #ffd0d0; }";

} // namespace

frmUnitaSimulata::frmUnitaSimulata(WindowContext& context, SimulatedUnitSystem& unit,
                                   QWidget* parent)
    : ChildWindow(context, 0, parent), unit_(unit) {
    setObjectName("frmUnitaSimulata");

    FraMotore = new QGroupBox(tr2("Motore", "Engine"), this);
    FraBatteria = new QGroupBox(tr2("Batteria", "Battery"), this);
    FraGuasti = new QGroupBox(tr2("Guasti", "Faults"), this);
    FraMotore->setObjectName("FraMotore");
    FraBatteria->setObjectName("FraBatteria");
    FraGuasti->setObjectName("FraGuasti");

    CmbProfilo = new QComboBox(FraMotore);
    CmbProfilo->setObjectName("CmbProfilo");
    CmbProfilo->addItems({tr2("Fisso", "Fixed"), tr2("Sweep", "Sweep"), tr2("Minimo", "Idle")});
    TextRpm = makeField(UnitFormField::Rpm, "TextRpm");
    TextRpmMin = makeField(UnitFormField::RpmMin, "TextRpmMin");
    TextRpmMax = makeField(UnitFormField::RpmMax, "TextRpmMax");
    TextPeriodo = makeField(UnitFormField::Period, "TextPeriodo");
    TextRpmMinimo = makeField(UnitFormField::RpmIdle, "TextRpmMinimo");
    TextJitter = makeField(UnitFormField::Jitter, "TextJitter");
    CmbCurva = new QComboBox(FraMotore);
    CmbCurva->setObjectName("CmbCurva");
    CmbCurva->addItems({tr2("Curva 1", "Curve 1"), tr2("Curva 2", "Curve 2")});
    CmbModulo = new QComboBox(FraMotore);
    CmbModulo->setObjectName("CmbModulo");
    CmbModulo->addItems({"MDX (master)", "MSX (slave)"});

    TextVBatt = makeField(UnitFormField::Volts, "TextVBatt");
    TextRipple = makeField(UnitFormField::Ripple, "TextRipple");

    ChkPerdi = new QCheckBox(tr2("Perdi messaggi (5%)", "Drop messages (5%)"), FraGuasti);
    ChkCorrompi = new QCheckBox(tr2("Corrompi messaggi (5%)", "Corrupt messages (5%)"), FraGuasti);
    ChkModuloErrato = new QCheckBox(
        tr2("Risposte dal modulo errato (5%)", "Answers from the wrong module (5%)"), FraGuasti);
    ChkMuto = new QCheckBox(tr2("Muto (non invia nulla)", "Silent (sends nothing)"), FraGuasti);
    ChkRifiuta = new QCheckBox(tr2("Rifiuta i cambi di modo", "Refuse mode changes"), FraGuasti);
    ChkPerdi->setObjectName("ChkPerdi");
    ChkCorrompi->setObjectName("ChkCorrompi");
    ChkModuloErrato->setObjectName("ChkModuloErrato");
    ChkMuto->setObjectName("ChkMuto");
    ChkRifiuta->setObjectName("ChkRifiuta");
    // The order of EepromAnswer.
    CmbRispostaEEPROM = new QComboBox(FraGuasti);
    CmbRispostaEEPROM->setObjectName("CmbRispostaEEPROM");
    CmbRispostaEEPROM->addItems({tr2("0xD2: accesso EEPROM", "0xD2: EEPROM access"),
                                 tr2("0xD4: accesso dati/programma", "0xD4: data/program access"),
                                 tr2("0xD3: nessun accesso", "0xD3: no access"),
                                 tr2("0xD0: rifiuto, modo normale", "0xD0: refused, run mode")});

    ComApplica = new QPushButton(tr2("Applica", "Apply"), this);
    ComApplica->setObjectName("ComApplica");
    LabStato = new QLabel(this);
    LabStato->setObjectName("LabStato");
    // Long status texts are cut rather than widening the window.
    LabStato->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    TimerStato = new QTimer(this);
    TimerStato->setObjectName("TimerStato");
    TimerStato->setInterval(StatusIntervalMs);

    buildLayout();

    connect(ComApplica, &QPushButton::clicked, this, &frmUnitaSimulata::ComApplica_Click);
    connect(TimerStato, &QTimer::timeout, this, &frmUnitaSimulata::TimerStato_Timer);
}

QString frmUnitaSimulata::tr2(const char* italian, const char* english) const {
    return QString::fromUtf8(ctx.texts.LangOffset == 0 ? italian : english);
}

QLineEdit* frmUnitaSimulata::makeField(UnitFormField field, const char* name) {
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight);
    box->setMaxLength(32);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000.00")) + 12);
    fields_[field] = box;
    connect(box, &QLineEdit::returnPressed, this, &frmUnitaSimulata::ComApplica_Click);
    return box;
}

QLabel* frmUnitaSimulata::captionFor(UnitFormField field) {
    QLineEdit* box = fields_.at(field);
    auto* label = new QLabel(QString::fromStdString(fieldCaption(field, ctx.texts.LangOffset)));
    label->setObjectName("Lab" + box->objectName().mid(4));
    label->setBuddy(box);
    return label;
}

void frmUnitaSimulata::buildLayout() {
    // The three selections line up at one width.
    int comboWidth = 0;
    for (QComboBox* c : {CmbProfilo, CmbCurva, CmbModulo})
        comboWidth = std::max(comboWidth, c->sizeHint().width());
    for (QComboBox* c : {CmbProfilo, CmbCurva, CmbModulo})
        c->setMinimumWidth(comboWidth);

    auto* engine = new QFormLayout(FraMotore);
    engine->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto* labProfilo = new QLabel(tr2("Profilo di velocità", "Speed profile"));
    labProfilo->setObjectName("LabProfilo");
    engine->addRow(labProfilo, CmbProfilo);
    for (const UnitFormField f :
         {UnitFormField::Rpm, UnitFormField::RpmMin, UnitFormField::RpmMax, UnitFormField::Period,
          UnitFormField::RpmIdle, UnitFormField::Jitter})
        engine->addRow(captionFor(f), fields_.at(f));
    auto* labCurva = new QLabel(tr2("Curva selezionata", "Selected curve"));
    labCurva->setObjectName("LabCurva");
    engine->addRow(labCurva, CmbCurva);
    auto* labModulo = new QLabel(tr2("Modulo della temporizzazione", "Timing module"));
    labModulo->setObjectName("LabModulo");
    engine->addRow(labModulo, CmbModulo);

    auto* batt = new QFormLayout(FraBatteria);
    batt->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    batt->addRow(captionFor(UnitFormField::Volts), TextVBatt);
    batt->addRow(captionFor(UnitFormField::Ripple), TextRipple);

    auto* faults = new QVBoxLayout(FraGuasti);
    for (QCheckBox* box : {ChkPerdi, ChkCorrompi, ChkModuloErrato, ChkMuto, ChkRifiuta})
        faults->addWidget(box);
    auto* labRisposta =
        new QLabel(tr2("Risposta alla richiesta EEPROM", "Answer to EEPROM access"));
    labRisposta->setObjectName("LabRispostaEEPROM");
    labRisposta->setBuddy(CmbRispostaEEPROM);
    faults->addWidget(labRisposta);
    faults->addWidget(CmbRispostaEEPROM);

    auto* right = new QVBoxLayout;
    right->addWidget(FraBatteria);
    right->addWidget(FraGuasti);
    right->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(FraMotore);
    top->addLayout(right);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(LabStato, 1);
    bottom->addWidget(ComApplica);

    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(bottom);
}

void frmUnitaSimulata::Form_Load() {
    setWindowTitle(tr2("Unità simulata", "Simulated unit"));
    showForm(writeUnitForm({unit_.engine(), unit_.battery(), unit_.faults()}));
    TimerStato_Timer();
    TimerStato->start();
    placementWidget()->adjustSize();
    countIn();
}

void frmUnitaSimulata::showForm(const UnitFormFields& f) {
    CmbProfilo->setCurrentIndex(f.profile);
    TextRpm->setText(QString::fromStdString(f.rpm));
    TextRpmMin->setText(QString::fromStdString(f.rpmMin));
    TextRpmMax->setText(QString::fromStdString(f.rpmMax));
    TextPeriodo->setText(QString::fromStdString(f.period));
    TextRpmMinimo->setText(QString::fromStdString(f.rpmIdle));
    TextJitter->setText(QString::fromStdString(f.jitter));
    CmbCurva->setCurrentIndex(f.curve);
    CmbModulo->setCurrentIndex(f.module);
    TextVBatt->setText(QString::fromStdString(f.volts));
    TextRipple->setText(QString::fromStdString(f.ripple));
    ChkPerdi->setChecked(f.drop);
    ChkCorrompi->setChecked(f.corrupt);
    ChkModuloErrato->setChecked(f.wrongModule);
    ChkMuto->setChecked(f.silent);
    ChkRifiuta->setChecked(f.refuseModes);
    CmbRispostaEEPROM->setCurrentIndex(f.eepromAnswer);
}

UnitFormFields frmUnitaSimulata::readForm() const {
    UnitFormFields f;
    f.profile = CmbProfilo->currentIndex();
    f.rpm = TextRpm->text().toStdString();
    f.rpmMin = TextRpmMin->text().toStdString();
    f.rpmMax = TextRpmMax->text().toStdString();
    f.period = TextPeriodo->text().toStdString();
    f.rpmIdle = TextRpmMinimo->text().toStdString();
    f.jitter = TextJitter->text().toStdString();
    f.curve = CmbCurva->currentIndex();
    f.module = CmbModulo->currentIndex();
    f.volts = TextVBatt->text().toStdString();
    f.ripple = TextRipple->text().toStdString();
    f.drop = ChkPerdi->isChecked();
    f.corrupt = ChkCorrompi->isChecked();
    f.wrongModule = ChkModuloErrato->isChecked();
    f.silent = ChkMuto->isChecked();
    f.refuseModes = ChkRifiuta->isChecked();
    f.eepromAnswer = CmbRispostaEEPROM->currentIndex();
    return f;
}

void frmUnitaSimulata::markField(QLineEdit* box, bool bad) {
    box->setProperty(kInvalidProperty, bad);
    box->setStyleSheet(bad ? QString::fromLatin1(kInvalidStyle) : QString());
}

void frmUnitaSimulata::ComApplica_Click() {
    const UnitFormValues current{unit_.engine(), unit_.battery(), unit_.faults()};
    const UnitFormResult result = readUnitForm(readForm(), current);
    for (const auto& [field, box] : fields_)
        markField(box, false);
    for (const FormError& e : result.errors)
        markField(fields_.at(e.field), true);
    if (!result.ok()) {
        QLineEdit* first = fields_.at(result.errors.front().field);
        first->setFocus();
        first->selectAll();
        const std::string title = ctx.app.MsgTitle.empty() ? kAppTitle : ctx.app.MsgTitle;
        ctx.messages.ShowMsg(1, title, formErrorsText(result.errors, ctx.texts.LangOffset));
        return;
    }
    // A new engine setting restarts the revolution in progress, so only a real change
    // is handed on.
    if (result.values.engine != current.engine) unit_.setEngine(result.values.engine);
    if (result.values.battery != current.battery) unit_.setBattery(result.values.battery);
    if (result.values.faults != current.faults) unit_.setFaults(result.values.faults);
    showForm(writeUnitForm(result.values));
    TimerStato_Timer();
}

void frmUnitaSimulata::TimerStato_Timer() {
    const SimulatedUnitSystem::Status s = unit_.status();
    LabStato->setText(QString::fromStdString(
        unitStatusText({s.mode, s.rpm, s.sent, s.running}, ctx.texts.LangOffset)));
}

void frmUnitaSimulata::closeEvent(QCloseEvent* event) {
    TimerStato->stop();
    countOut();
    event->accept();
}

} // namespace unit
