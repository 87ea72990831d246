#include "ui/SetUpForm.hpp"

#include "files/avi/AviWriter.hpp"
#include "ui/kit/Dialogs.hpp"

#include <limits>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include "ui/kit/Captions.hpp"
#include "ui/JoyKeySetup.hpp"
#include "ui/kit/CentreOnOwner.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/kit/RadioGroup.hpp"
#include "ui/kit/Settings.hpp"
#include "ui/kit/SettingsSchema.hpp"
#include "ui/kit/Text.hpp"

namespace ostrovik::ui {

using namespace settings;

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

template <typename W>
W* named(W* widget, std::string_view name)
{
    widget->setObjectName(fromUtf8(name));
    return widget;
}

QPushButton* button(QWidget* parent, std::string_view name, const QString& caption, QRect geometry)
{
    auto* b = named(new QPushButton(caption, parent), name);
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, std::string_view name, const QString& caption, QRect geometry)
{
    auto* l = named(new QLabel(caption, parent), name);
    l->setGeometry(geometry);
    return l;
}

// A key name as a button caption, "&" included.
QString keyCaption(std::uint16_t key)
{
    QString name = fromUtf8(KeyNameOf(key));
    name.replace(QLatin1Char('&'), QLatin1String("&&"));
    return name;
}

} // namespace

TSetUpForm::TSetUpForm(TMainFormEmu* mainForm)
    : QWidget(mainForm, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      MainFormEmu(mainForm)
{
    setObjectName(QStringLiteral("SetUpForm"));
    setWindowTitle(QStringLiteral("SetUpForm"));
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    setFont(font);
    setFixedSize(kClientWidth, kClientHeight);

    buildOptions();
    buildVideo();
    buildSpeed();
    buildRendering();
    buildJoystick();

    Label6 = label(this, "Label6", QStringLiteral("to be continued"), {316, 342, 191, 16});
    Button1 = button(this, "Button1", QString(), {316, 396, 92, 25});
    Button2 = button(this, "Button2", QString(), {415, 396, 92, 25});
    // The captions of the caption set come from its one table, in Russian
    // until the main window applies the chosen language.
    applyCaptionSet(*this, CaptionWindow::SetUpForm, Language::Russian);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TSetUpForm::buildOptions()
{
    GroupBox1 = named(new QGroupBox(this), "GroupBox1");
    GroupBox1->setGeometry(8, 4, 300, 262);
    QCheckBox** boxes[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4, &CheckBox5, &CheckBox7,
                           &CheckBox8, &CheckBox9, &CheckBox10, &CheckBox11, &CheckBox12};
    for (std::size_t i = 0; i < kCheckOptions.size(); ++i) {
        const CheckOption& option = kCheckOptions[i];
        auto* box = named(new QCheckBox(GroupBox1), option.control);
        box->setGeometry(10, 18 + static_cast<int>(i) * 22, 284, 20);
        box->setChecked(option.designChecked);
        *boxes[i] = box;
        optionBoxes_[i] = box;
    }

    RadioGroup1 = new TRadioGroup(QString(),
                                  {QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("png")}, 3, this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(8, 270, 300, 42);
    RadioGroup1->setItemIndex(kDefaultScreenShotFormat);
}

void TSetUpForm::buildVideo()
{
    GroupBox2 = named(new QGroupBox(this), "GroupBox2");
    GroupBox2->setGeometry(316, 4, 191, 196);
    Label1 = label(GroupBox2, "Label1", QString(), {8, 16, 170, 14});
    ComboBox1 = named(new QComboBox(GroupBox2), "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(8, 32, 146, 22);
    Button3 = button(GroupBox2, "Button3", QStringLiteral("..."), {158, 32, 25, 22});
    Button4 = button(GroupBox2, "Button4", QString(), {4, 58, 183, 24});
    Label2 = label(GroupBox2, "Label2", QString(), {8, 86, 170, 14});
    ComboBox2 = named(new QComboBox(GroupBox2), "ComboBox2");
    ComboBox2->addItems({QStringLiteral("Highest"), QStringLiteral("Very High"), QStringLiteral("High"),
                         QStringLiteral("Medium"), QStringLiteral("Low")});
    ComboBox2->setCurrentIndex(2);
    ComboBox2->setGeometry(8, 102, 175, 22);
    CheckBox6 = named(new QCheckBox(GroupBox2), "CheckBox6");
    CheckBox6->setChecked(true);
    CheckBox6->setGeometry(8, 128, 175, 20);
    Label3 = label(GroupBox2, "Label3", QStringLiteral("Frame Time (ms)"), {8, 152, 170, 14});
    SpinEdit1 = named(new QSpinBox(GroupBox2), "SpinEdit1");
    // No bounds beyond those of the number itself.
    SpinEdit1->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    SpinEdit1->setValue(kDefaultFrameTime);
    SpinEdit1->setGeometry(8, 168, 100, 22);

    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, [this] { ComboBox1Change(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
}

void TSetUpForm::buildSpeed()
{
    GroupBox3 = named(new QGroupBox(this), "GroupBox3");
    GroupBox3->setGeometry(316, 204, 191, 72);
    TrackBar1 = named(new QSlider(Qt::Horizontal, GroupBox3), "TrackBar1");
    TrackBar1->setRange(kMinInterval, kMaxInterval);
    TrackBar1->setValue(kDefaultInterval);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setTickInterval(10);
    TrackBar1->setGeometry(8, 18, 175, 28);
    Label4 = label(GroupBox3, "Label4", QStringLiteral("Hi"), {8, 48, 40, 16});
    Label7 = label(GroupBox3, "Label7", QString::number(kDefaultInterval), {60, 48, 71, 16});
    Label7->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    Label5 = label(GroupBox3, "Label5", QStringLiteral("Low"), {143, 48, 40, 16});
    Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Fires only when the position really changes, also while dragging.
    connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
}

void TSetUpForm::buildRendering()
{
    GroupBox4 = named(new QGroupBox(QStringLiteral("Video rendering"), this), "GroupBox4");
    GroupBox4->setGeometry(316, 280, 191, 52);
    ComboBox3 = named(new QComboBox(GroupBox4), "ComboBox3");
    ComboBox3->addItems({QStringLiteral("GDI"), QStringLiteral("OpenGL"), QStringLiteral("DirectX3D")});
    ComboBox3->setCurrentIndex(kDefaultRenderingMode);
    ComboBox3->setGeometry(8, 20, 175, 22);
}

void TSetUpForm::buildJoystick()
{
    JoyGroupBox = named(new QGroupBox(QStringLiteral("Joystick"), this), "JoyGroupBox");
    JoyGroupBox->setGeometry(8, 316, 300, 105);
    // Enabled only while a joystick is captured.
    JoyGroupBox->setEnabled(false);

    // The four directions as a cross, the four buttons beside them.
    const QRect places[] = {{46, 16, 40, 24},  {46, 72, 40, 24},  {4, 44, 40, 24},   {88, 44, 40, 24},
                            {134, 16, 78, 24}, {216, 16, 78, 24}, {134, 44, 78, 24}, {216, 44, 78, 24}};
    QPushButton** buttons[] = {&Button5, &Button8, &Button6, &Button7, &Button9, &Button10, &Button11, &Button12};
    for (std::size_t i = 0; i < kJoyKeys.size(); ++i) {
        auto* b = button(JoyGroupBox, kJoyKeys[i].button, QString(), places[i]);
        *buttons[i] = b;
        joyButtons_[i] = b;
    }
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
    connect(Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
    connect(Button8, &QPushButton::clicked, this, [this] { Button8Click(); });
    connect(Button9, &QPushButton::clicked, this, [this] { Button9Click(); });
    connect(Button10, &QPushButton::clicked, this, [this] { Button10Click(); });
    connect(Button11, &QPushButton::clicked, this, [this] { Button11Click(); });
    connect(Button12, &QPushButton::clicked, this, [this] { Button12Click(); });

    RadioGroup2 = new TRadioGroup(QString(), {QStringLiteral("Keyboard"), QStringLiteral("In port")}, 2,
                                  JoyGroupBox);
    RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
    RadioGroup2->setGeometry(134, 68, 160, 32);
    RadioGroup2->setItemIndex(0);
}

std::uint16_t& TSetUpForm::joyKey(int index)
{
    static constexpr std::uint16_t TSetUpForm::*words[] = {
        &TSetUpForm::JoyKeyUp, &TSetUpForm::JoyKeyDown, &TSetUpForm::JoyKeyLeft, &TSetUpForm::JoyKeyRight,
        &TSetUpForm::JoyKey1,  &TSetUpForm::JoyKey2,    &TSetUpForm::JoyKey3,    &TSetUpForm::JoyKey4};
    return this->*words[static_cast<std::size_t>(index) % std::size(words)];
}

void TSetUpForm::ShowFromMenu()
{
    centreOnMainForm();
    show();
    raise();
    activateWindow();
    ReadAllOptionsFromIni();
}

void TSetUpForm::centreOnMainForm()
{
    if (!MainFormEmu)
        return;
    CentreOnOwner(*this, *MainFormEmu);
}

void TSetUpForm::ReadAllOptionsFromIni()
{
    // A first start, or the file deleted meanwhile: write it whole from the
    // controls as they stand (the window hides, as after Save).
    if (!ConfigFileExists())
        Button1Click();

    // A key the file lacks reads as its first-run value.
    for (std::size_t i = 0; i < kCheckOptions.size(); ++i)
        optionBoxes_[i]->setChecked(ReadOption(kCheckOptions[i].id) == QLatin1String("1"));

    // A number that is not one reads as its first-run value.
    const auto number = [](machine::Option which, int fallback) {
        return DecimalOr(ReadOption(which).toStdString(), fallback);
    };
    // An index past the items leaves nothing chosen.
    ComboBox3->setCurrentIndex(number(machine::Option::RenderingMode, kDefaultRenderingMode));
    RadioGroup1->setItemIndex(number(machine::Option::ScreenShotFormat, kDefaultScreenShotFormat));

    const QString compressor = ReadOption(machine::Option::Compressor);
    ComboBox1->setEditText(compressor == QLatin1String("0") ? QString() : compressor);
    SpinEdit1->setValue(number(machine::Option::FrameTime, kDefaultFrameTime));
    // The track bar keeps the value within its range; the timer changes only
    // when the position does.
    TrackBar1->setValue(number(machine::Option::Interval, kDefaultInterval));

    for (std::size_t i = 0; i < kJoyKeys.size(); ++i) {
        std::uint16_t& word = joyKey(static_cast<int>(i));
        word = JoyKeyFromText(ReadIni(kJoyOptions, kJoyKeys[i].key).toStdString(), kJoyKeys[i].defaultCode);
        joyButtons_[i]->setText(keyCaption(word));
    }
}

bool TSetUpForm::Button1Click()
{
    const auto write = [this](std::string_view section, std::string_view key, const QString& value) {
        return WriteIni(section, key, value, this);
    };
    // The first failed write ends the save; the message names the file.
    for (std::size_t i = 0; i < kCheckOptions.size(); ++i)
        if (!write(kAutoStartUpOptions, kCheckOptions[i].key, flag(optionBoxes_[i]->isChecked())))
            return false;
    if (!write(kAutoStartUpOptions, kRenderingMode, QString::number(ComboBox3->currentIndex())) ||
        !write(kAutoStartUpOptions, kScreenShotFormat, QString::number(RadioGroup1->itemIndex())) ||
        !write(kVideoOptions, kCompressor, ComboBox1->currentText()) ||
        !write(kVideoOptions, kFrameTime, QString::number(SpinEdit1->value())) ||
        !write(kCPUOptions, kInterval, QString::number(TrackBar1->value())))
        return false;
    for (std::size_t i = 0; i < kJoyKeys.size(); ++i) {
        std::uint16_t& word = joyKey(static_cast<int>(i));
        if (word == 0)
            word = kJoyKeys[i].defaultCode;
        if (!write(kJoyOptions, kJoyKeys[i].key, QString::number(word)))
            return false;
    }
    hide();
    // A new render mode shows at once.
    if (MainFormEmu)
        MainFormEmu->applyRenderMode(ComboBox3->currentIndex());
    return true;
}

void TSetUpForm::Button2Click()
{
    hide();
}

void TSetUpForm::TrackBar1Change()
{
    if (MainFormEmu)
        MainFormEmu->setTimerInterval(TrackBar1->value());
    Label7->setText(QString::number(TrackBar1->value()));
}

namespace {

/// The codec's configuration dialog, through the window's dialogs.
class CodecDialog final : public files::avi::CompressorDialog {
public:
    explicit CodecDialog(QWidget* owner) : owner_(owner) {}
    bool configure(const std::string& title, std::vector<files::avi::CompressorOption>& options) override
    {
        return dialogs().compressorOptions(owner_, QString::fromStdString(title), options);
    }

private:
    QWidget* owner_;
};

} // namespace

int TSetUpForm::codecIndex() const
{
    // Typed text that is not the chosen line counts as no choice.
    const int index = ComboBox1->currentIndex();
    return index >= 0 && ComboBox1->itemText(index) == ComboBox1->currentText() ? index : -1;
}

void TSetUpForm::ComboBox1Change()
{
    if (!MainFormEmu)
        return;
    const int index = codecIndex();
    const QString code = index < 1 ? QString() : ComboBox1->itemText(index).left(4);
    MainFormEmu->guarded([&] { MainFormEmu->aviWriter().SetCompressor(code.toStdString()); });
}

void TSetUpForm::Button3Click()
{
    std::vector<std::string> list{"No Compression"};
    if (MainFormEmu)
        MainFormEmu->aviWriter().ListCompressors(list);
    const QString text = ComboBox1->currentText();
    ComboBox1->clear();
    for (const std::string& line : list)
        ComboBox1->addItem(QString::fromStdString(line));
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(text);
}

void TSetUpForm::Button4Click()
{
    if (!MainFormEmu || codecIndex() <= 0)
        return;
    CodecDialog dialog(this);
    MainFormEmu->guarded([&] { MainFormEmu->aviWriter().ConfigureCompressor(dialog); });
}

void TSetUpForm::setJoyKey(int index, std::uint16_t key)
{
    joyKey(index) = key;
    joyButtons_.at(static_cast<std::size_t>(index))->setText(keyCaption(key));
}

TJoyKeySetup& TSetUpForm::joyKeySetup()
{
    if (!JoyKeySetup)
        JoyKeySetup = new TJoyKeySetup(*this);
    return *JoyKeySetup;
}

void TSetUpForm::openJoyKeySetup(int index)
{
    const JoyKeyOption& key = kJoyKeys.at(static_cast<std::size_t>(index));
    TJoyKeySetup& dialog = joyKeySetup();
    dialog.Label3->setText(QStringLiteral("NONE"));
    dialog.Label2->setText(fromUtf8(key.heading));
    dialog.Tag = key.tag;
    // The settings window does not reload when the dialog closes, so the key
    // just captured stays on its button until Save.
    dialog.exec();
}

void TSetUpForm::Button5Click() { openJoyKeySetup(0); }
void TSetUpForm::Button8Click() { openJoyKeySetup(1); }
void TSetUpForm::Button6Click() { openJoyKeySetup(2); }
void TSetUpForm::Button7Click() { openJoyKeySetup(3); }
void TSetUpForm::Button9Click() { openJoyKeySetup(4); }
void TSetUpForm::Button10Click() { openJoyKeySetup(5); }
void TSetUpForm::Button11Click() { openJoyKeySetup(6); }
void TSetUpForm::Button12Click() { openJoyKeySetup(7); }

void TSetUpForm::setOptionChecked(machine::Option which, bool checked)
{
    const std::size_t i = machine::indexOf(which);
    if (i < optionBoxes_.size())
        optionBoxes_[i]->setChecked(checked);
}

QString TSetUpForm::option(machine::Option which) const
{
    const std::size_t i = machine::indexOf(which);
    if (i < optionBoxes_.size())
        return flag(optionBoxes_[i]->isChecked());
    switch (which) {
    case machine::Option::RenderingMode:
        return QString::number(ComboBox3->currentIndex());
    case machine::Option::ScreenShotFormat:
        return QString::number(RadioGroup1->itemIndex());
    case machine::Option::Compressor:
        return ComboBox1->currentText();
    case machine::Option::FrameTime:
        return QString::number(SpinEdit1->value());
    case machine::Option::Interval:
        return QString::number(TrackBar1->value());
    default:
        return QStringLiteral("0");
    }
}

void TSetUpForm::ReadMRU()
{
    QMenu* fileMenu = MainFormEmu ? MainFormEmu->fileMenu() : nullptr;
    if (!fileMenu)
        return;
    for (QAction* item : ReadMruList(*fileMenu, MRUFiles))
        connect(item, &QAction::triggered, MainFormEmu, [form = MainFormEmu, item] { form->NewMenuClick(item); });
}

void TSetUpForm::SaveMRU()
{
    SaveMruList(MRUFiles, this);
}

void TSetUpForm::AddMruMenuItem(const QString& FileName, int Index)
{
    QMenu* fileMenu = MainFormEmu ? MainFormEmu->fileMenu() : nullptr;
    if (!fileMenu)
        return;
    QAction* item = AppendMruMenuItem(*fileMenu, FileName, Index);
    connect(item, &QAction::triggered, MainFormEmu, [form = MainFormEmu, item] { form->NewMenuClick(item); });
}

} // namespace ostrovik::ui
