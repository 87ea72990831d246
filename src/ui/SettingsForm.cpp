#include "ui/SettingsForm.hpp"

#include "files/avi/AviWriter.hpp"
#include "kit/Dialogs.hpp"

#include <limits>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include "kit/Captions.hpp"
#include "ui/JoystickKeyDialog.hpp"
#include "kit/CentreOnOwner.hpp"
#include "files/avi/AviWriter.hpp"
#include "ui/SettingsOwner.hpp"
#include "kit/WindowHost.hpp"
#include "kit/RadioGroup.hpp"
#include "kit/Settings.hpp"
#include "settings/SettingsSchema.hpp"
#include "kit/Text.hpp"

namespace ostrovik::ui {

using kit::CaptionWindow;
using kit::centreOnOwner;
using kit::Language;
using kit::RadioGroup;
using kit::reportUnableToWrite;
using kit::applyCaptionSet;
using kit::dialogs;
using kit::fromUtf8;

using namespace settings;

namespace {

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

// A key name as a button caption, "&" included; none before the first load.
QString keyCaption(std::uint16_t key)
{
    if (key == 0)
        return QString();
    QString name = fromUtf8(keyNameOf(key));
    name.replace(QLatin1Char('&'), QLatin1String("&&"));
    return name;
}

} // namespace

SettingsForm::SettingsForm(settings::SettingsStore& store, SettingsOwner* owner)
    : QWidget(owner ? owner->ownerWidget() : nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      store_(store), owner_(owner)
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

    continuedLabel = label(this, "continuedLabel", QStringLiteral("to be continued"), {316, 342, 191, 16});
    saveButton = button(this, "saveButton", QString(), {316, 396, 92, 25});
    cancelButton = button(this, "cancelButton", QString(), {415, 396, 92, 25});
    // The captions of the caption set come from its one table, in Russian
    // until the main window applies the chosen language.
    applyCaptionSet(*this, CaptionWindow::Settings, Language::Russian);
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
    connectControls();
    subscription_ = store_.subscribe([this](const settings::StoreChange& change) { showChange(change); });
}

SettingsForm::~SettingsForm()
{
    // The main window's store may be gone already: no control of this
    // window reaches it while the controls go.
    subscription_.reset();
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

void SettingsForm::buildOptions()
{
    optionsGroup = named(new QGroupBox(this), "optionsGroup");
    optionsGroup->setGeometry(8, 4, 300, 262);
    QCheckBox** boxes[] = {&fullScreenBox, &grayTvBox, &blurBox, &borderColourBox, &russianBox, &screen256Box,
                           &runBasicBox, &soundBox, &quickRunBox, &patch058CBox, &oneCopyBox};
    for (std::size_t i = 0; i < kCheckOptions.size(); ++i) {
        const CheckOption& option = kCheckOptions[i];
        auto* box = named(new QCheckBox(optionsGroup), option.control);
        box->setGeometry(10, 18 + static_cast<int>(i) * 22, 284, 20);
        box->setChecked(store_.checked(option.id));
        *boxes[i] = box;
        optionBoxes_[i] = box;
    }

    screenshotFormatGroup = new RadioGroup(QString(),
                                  {QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("png")}, 3, this);
    screenshotFormatGroup->setObjectName(QStringLiteral("screenshotFormatGroup"));
    screenshotFormatGroup->setGeometry(8, 270, 300, 42);
    screenshotFormatGroup->setItemIndex(store_.screenShotFormat());
}

void SettingsForm::buildVideo()
{
    videoGroup = named(new QGroupBox(this), "videoGroup");
    videoGroup->setGeometry(316, 4, 191, 196);
    codecLabel = label(videoGroup, "codecLabel", QString(), {8, 16, 170, 14});
    codecBox = named(new QComboBox(videoGroup), "codecBox");
    codecBox->setEditable(true);
    codecBox->setInsertPolicy(QComboBox::NoInsert);
    codecBox->setEditText(fromUtf8(store_.compressor()));
    codecBox->setGeometry(8, 32, 146, 22);
    listCodecsButton = button(videoGroup, "listCodecsButton", QStringLiteral("..."), {158, 32, 25, 22});
    codecOptionsButton = button(videoGroup, "codecOptionsButton", QString(), {4, 58, 183, 24});
    qualityLabel = label(videoGroup, "qualityLabel", QString(), {8, 86, 170, 14});
    qualityBox = named(new QComboBox(videoGroup), "qualityBox");
    qualityBox->addItems({QStringLiteral("Highest"), QStringLiteral("Very High"), QStringLiteral("High"),
                         QStringLiteral("Medium"), QStringLiteral("Low")});
    qualityBox->setCurrentIndex(store_.recordingQuality());
    qualityBox->setGeometry(8, 102, 175, 22);
    onTheFlyBox = named(new QCheckBox(videoGroup), "onTheFlyBox");
    onTheFlyBox->setChecked(store_.compressOnTheFly());
    onTheFlyBox->setGeometry(8, 128, 175, 20);
    frameTimeLabel = label(videoGroup, "frameTimeLabel", QStringLiteral("Frame Time (ms)"), {8, 152, 170, 14});
    frameTimeBox = named(new QSpinBox(videoGroup), "frameTimeBox");
    // No bounds beyond those of the number itself.
    frameTimeBox->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    frameTimeBox->setValue(store_.frameTime());
    frameTimeBox->setGeometry(8, 168, 100, 22);

    connect(codecBox, &QComboBox::activated, this, [this] { codecChanged(); });
    connect(codecBox->lineEdit(), &QLineEdit::textEdited, this, [this] { codecChanged(); });
    connect(listCodecsButton, &QPushButton::clicked, this, [this] { listCodecs(); });
    connect(codecOptionsButton, &QPushButton::clicked, this, [this] { configureCodec(); });
}

void SettingsForm::buildSpeed()
{
    speedGroup = named(new QGroupBox(this), "speedGroup");
    speedGroup->setGeometry(316, 204, 191, 72);
    speedSlider = named(new QSlider(Qt::Horizontal, speedGroup), "speedSlider");
    speedSlider->setRange(kMinInterval, kMaxInterval);
    speedSlider->setValue(store_.interval());
    speedSlider->setTickPosition(QSlider::TicksBelow);
    speedSlider->setTickInterval(10);
    speedSlider->setGeometry(8, 18, 175, 28);
    fastLabel = label(speedGroup, "fastLabel", QStringLiteral("Hi"), {8, 48, 40, 16});
    intervalLabel = label(speedGroup, "intervalLabel", QString::number(store_.interval()), {60, 48, 71, 16});
    intervalLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    slowLabel = label(speedGroup, "slowLabel", QStringLiteral("Low"), {143, 48, 40, 16});
    slowLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Fires only when the position really changes, also while dragging.
    connect(speedSlider, &QSlider::valueChanged, this, [this] { speedChanged(); });
}

void SettingsForm::buildRendering()
{
    renderingGroup = named(new QGroupBox(QStringLiteral("Video rendering"), this), "renderingGroup");
    renderingGroup->setGeometry(316, 280, 191, 52);
    renderingBox = named(new QComboBox(renderingGroup), "renderingBox");
    renderingBox->addItems({QStringLiteral("GDI"), QStringLiteral("OpenGL"), QStringLiteral("DirectX3D")});
    renderingBox->setCurrentIndex(store_.renderingMode());
    renderingBox->setGeometry(8, 20, 175, 22);
}

void SettingsForm::buildJoystick()
{
    joystickGroup = named(new QGroupBox(QStringLiteral("Joystick"), this), "joystickGroup");
    joystickGroup->setGeometry(8, 316, 300, 105);
    // Enabled only while a joystick is captured.
    joystickGroup->setEnabled(false);

    // The four directions as a cross, the four buttons beside them.
    const QRect places[] = {{46, 16, 40, 24},  {46, 72, 40, 24},  {4, 44, 40, 24},   {88, 44, 40, 24},
                            {134, 16, 78, 24}, {216, 16, 78, 24}, {134, 44, 78, 24}, {216, 44, 78, 24}};
    QPushButton** buttons[] = {&joyUpButton, &joyDownButton, &joyLeftButton, &joyRightButton, &joyKey1Button, &joyKey2Button, &joyKey3Button, &joyKey4Button};
    for (std::size_t i = 0; i < kJoyKeys.size(); ++i) {
        auto* b = button(joystickGroup, kJoyKeys[i].button, keyCaption(store_.joystickVirtualKey(i)), places[i]);
        *buttons[i] = b;
        joyButtons_[i] = b;
    }
    connect(joyUpButton, &QPushButton::clicked, this, [this] { chooseJoyUpKey(); });
    connect(joyLeftButton, &QPushButton::clicked, this, [this] { chooseJoyLeftKey(); });
    connect(joyRightButton, &QPushButton::clicked, this, [this] { chooseJoyRightKey(); });
    connect(joyDownButton, &QPushButton::clicked, this, [this] { chooseJoyDownKey(); });
    connect(joyKey1Button, &QPushButton::clicked, this, [this] { chooseJoyKey1(); });
    connect(joyKey2Button, &QPushButton::clicked, this, [this] { chooseJoyKey2(); });
    connect(joyKey3Button, &QPushButton::clicked, this, [this] { chooseJoyKey3(); });
    connect(joyKey4Button, &QPushButton::clicked, this, [this] { chooseJoyKey4(); });

    joystickTargetGroup = new RadioGroup(QString(), {QStringLiteral("Keyboard"), QStringLiteral("In port")}, 2,
                                  joystickGroup);
    joystickTargetGroup->setObjectName(QStringLiteral("joystickTargetGroup"));
    joystickTargetGroup->setGeometry(134, 68, 160, 32);
    joystickTargetGroup->setItemIndex(0);
}

template <typename F>
void SettingsForm::fromControl(F&& edit)
{
    const bool outer = editingFromControl_;
    editingFromControl_ = true;
    edit();
    editingFromControl_ = outer;
}

void SettingsForm::connectControls()
{
    for (std::size_t i = 0; i < kCheckOptions.size(); ++i)
        connect(optionBoxes_[i], &QCheckBox::toggled, this,
                [this, id = kCheckOptions[i].id](bool on) { fromControl([&] { store_.setChecked(id, on); }); });
    connect(renderingBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { fromControl([&] { store_.setRenderingMode(index); }); });
    connect(screenshotFormatGroup, &RadioGroup::itemIndexChanged, this,
            [this](int index) { fromControl([&] { store_.setScreenShotFormat(index); }); });
    connect(codecBox, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { fromControl([&] { store_.setCompressor(text.toUtf8().toStdString()); }); });
    connect(frameTimeBox, &QSpinBox::valueChanged, this,
            [this](int value) { fromControl([&] { store_.setFrameTime(value); }); });
    connect(speedSlider, &QSlider::valueChanged, this,
            [this](int value) { fromControl([&] { store_.setInterval(value); }); });
    connect(qualityBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { fromControl([&] { store_.setRecordingQuality(index); }); });
    connect(onTheFlyBox, &QCheckBox::toggled, this,
            [this](bool on) { fromControl([&] { store_.setCompressOnTheFly(on); }); });
}

void SettingsForm::showChange(const settings::StoreChange& change)
{
    using Kind = settings::StoreChange::Kind;
    switch (change.kind) {
    case Kind::Saved:
        hide();
        // A new render mode shows at once.
        if (owner_)
            owner_->applyRenderMode(store_.renderingMode());
        return;
    case Kind::JoystickKey:
        joyButtons_.at(change.joystickKey)->setText(keyCaption(store_.joystickVirtualKey(change.joystickKey)));
        return;
    default:
        break;
    }
    // What a control has just given the store needs no showing back.
    if (editingFromControl_)
        return;
    switch (change.kind) {
    case Kind::RecordingQuality: qualityBox->setCurrentIndex(store_.recordingQuality()); return;
    case Kind::CompressOnTheFly: onTheFlyBox->setChecked(store_.compressOnTheFly()); return;
    default: break;
    }
    const machine::Option which = change.option;
    const std::size_t i = machine::indexOf(which);
    if (i < optionBoxes_.size()) {
        optionBoxes_[i]->setChecked(store_.checked(which));
        return;
    }
    switch (which) {
    case machine::Option::RenderingMode: renderingBox->setCurrentIndex(store_.renderingMode()); break;
    case machine::Option::ScreenShotFormat: screenshotFormatGroup->setItemIndex(store_.screenShotFormat()); break;
    case machine::Option::Compressor: {
        const QString text = fromUtf8(store_.compressor());
        if (codecBox->currentText() != text)
            codecBox->setEditText(text);
        break;
    }
    case machine::Option::FrameTime: frameTimeBox->setValue(store_.frameTime()); break;
    // The timer changes only when the track bar's position does.
    case machine::Option::Interval: speedSlider->setValue(store_.interval()); break;
    default: break;
    }
}

void SettingsForm::showFromMenu()
{
    centreOnMainForm();
    show();
    raise();
    activateWindow();
    readAllOptions();
}

void SettingsForm::centreOnMainForm()
{
    if (!owner_)
        return;
    centreOnOwner(*this, *owner_->ownerWidget());
}

void SettingsForm::readAllOptions()
{
    // A first start, or the file deleted meanwhile: write it whole from the
    // store as it stands (the window hides, as after Save).
    if (!store_.fileExists())
        save();
    store_.load();
}

bool SettingsForm::save()
{
    // The first failed write ends the save; the message names the file. A
    // save that succeeds hides the window (showChange).
    const platform::IniStatus status = store_.save();
    if (!status)
        reportUnableToWrite(this, status.message);
    return static_cast<bool>(status);
}

void SettingsForm::cancel()
{
    hide();
}

void SettingsForm::speedChanged()
{
    if (owner_)
        owner_->setTimerInterval(speedSlider->value());
    intervalLabel->setText(QString::number(speedSlider->value()));
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

int SettingsForm::codecIndex() const
{
    // Typed text that is not the chosen line counts as no choice.
    const int index = codecBox->currentIndex();
    return index >= 0 && codecBox->itemText(index) == codecBox->currentText() ? index : -1;
}

void SettingsForm::codecChanged()
{
    if (!owner_)
        return;
    const int index = codecIndex();
    const QString code = index < 1 ? QString() : codecBox->itemText(index).left(4);
    owner_->windowHost().runGuarded([&] { owner_->aviWriter().setCompressor(code.toStdString()); });
}

void SettingsForm::listCodecs()
{
    std::vector<std::string> list{"No Compression"};
    if (owner_)
        owner_->aviWriter().listCompressors(list);
    const QString text = codecBox->currentText();
    codecBox->clear();
    for (const std::string& line : list)
        codecBox->addItem(QString::fromStdString(line));
    codecBox->setCurrentIndex(-1);
    codecBox->setEditText(text);
}

void SettingsForm::configureCodec()
{
    if (!owner_ || codecIndex() <= 0)
        return;
    CodecDialog dialog(this);
    owner_->windowHost().runGuarded([&] { owner_->aviWriter().configureCompressor(dialog); });
}

JoystickKeyDialog& SettingsForm::joystickKeyDialog()
{
    if (!joystickKeyDialog_)
        joystickKeyDialog_ = new JoystickKeyDialog(*this, store_);
    return *joystickKeyDialog_;
}

void SettingsForm::openJoystickKeyDialog(int index)
{
    const JoyKeyOption& key = kJoyKeys.at(static_cast<std::size_t>(index));
    JoystickKeyDialog& dialog = joystickKeyDialog();
    dialog.keyLabel->setText(QStringLiteral("NONE"));
    dialog.targetLabel->setText(fromUtf8(key.heading));
    dialog.bindingIndex = key.tag;
    // The settings window does not reload when the dialog closes, so the key
    // just captured stays on its button until Save.
    dialog.exec();
}

void SettingsForm::chooseJoyUpKey() { openJoystickKeyDialog(0); }
void SettingsForm::chooseJoyDownKey() { openJoystickKeyDialog(1); }
void SettingsForm::chooseJoyLeftKey() { openJoystickKeyDialog(2); }
void SettingsForm::chooseJoyRightKey() { openJoystickKeyDialog(3); }
void SettingsForm::chooseJoyKey1() { openJoystickKeyDialog(4); }
void SettingsForm::chooseJoyKey2() { openJoystickKeyDialog(5); }
void SettingsForm::chooseJoyKey3() { openJoystickKeyDialog(6); }
void SettingsForm::chooseJoyKey4() { openJoystickKeyDialog(7); }

QString SettingsForm::option(machine::Option which) const
{
    return fromUtf8(store_.text(which));
}

} // namespace ostrovik::ui
