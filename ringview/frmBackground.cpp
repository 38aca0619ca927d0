#include "ringview/frmBackground.h"

#include "bus/WaitLoop.h"
#include "core/RingCore.h"
#include "dialogs/ChildWindow.h"
#include "dialogs/MessageBox.h"
#include "dialogs/frmModuleState.h"
#include "model/Clock.h"
#include "model/ModeByte.h"
#include "model/ModuleTexts.h"
#include "model/Twips.h"
#include "ringview/ModuleImages.h"
#include "ringview/ModulePicture.h"
#include "ringview/RingGeometry.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <algorithm>

namespace {

const char *const kSearchingCaption = QT_TRANSLATE_NOOP("frmBackground", "Bus Info - Searching module... ");

// Design places and sizes, in twips.
constexpr int kPicture0Left = 3120;
constexpr int kPicture0Top = 840;
constexpr int kLabelLeft = 3120;
constexpr int kLabelTop = 1320;
constexpr int kLabelWidth = 375;
constexpr int kLabelHeight = 255;

bool AnyFaulty(const ModuleData &record) { return record.GetStatusChannel1() || record.GetStatusChannel2(); }

QFont LabelFont()
{
    const QString designFamily = QStringLiteral("MS Sans Serif");
    QFont font = QFontDatabase::hasFamily(designFamily) ? QFont(designFamily) : QFont();
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(12);
    font.setBold(true);
    return font;
}

} // namespace

frmBackground::frmBackground(RingCore &core, TwipsSize &keptSize, QWidget *parent)
    : QWidget(parent), mCore(core), mSize(keptSize)
{
    setObjectName(QStringLiteral("frmBackground"));
    setWindowTitle(tr("Bus Info"));
    setAttribute(Qt::WA_OpaquePaintEvent);

    ModulePicture *first = CreatePicture(0);
    first->move(TwipsToPixels(kPicture0Left), TwipsToPixels(kPicture0Top));
    first->show();

    lblPC = new QLabel(QStringLiteral("PC"), this);
    lblPC->setObjectName(QStringLiteral("lblPC"));
    lblPC->setAlignment(Qt::AlignCenter);
    lblPC->setFont(LabelFont());
    lblPC->setFixedSize(TwipsToPixels(kLabelWidth), TwipsToPixels(kLabelHeight));
    lblPC->move(TwipsToPixels(kLabelLeft), TwipsToPixels(kLabelTop));

    mMarkFrame = new QFrame(this);
    mMarkFrame->setObjectName(QStringLiteral("shpMark"));
    mMarkFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    mMarkFrame->setLineWidth(2);
    // Orange: it stands out on the pictures' black edges and is not the locate's light blue.
    QPalette markColour = mMarkFrame->palette();
    markColour.setColor(QPalette::WindowText, QColor(255, 128, 0));
    mMarkFrame->setPalette(markColour);
    mMarkFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    mMarkFrame->hide();

    mCanvas.Resize(size(), devicePixelRatioF());
    mCanvas.Clear();
    Form_Load();
}

const ModuleData &frmBackground::RecordAt(int position) const { return mCore.Table().ModuleAt(position); }

int frmBackground::PositionOf(int id, int clicked) const
{
    const int count = mCore.Table().Count();
    if (clicked < count && mCore.Table().IDAt(clicked) == id)
        return clicked;
    for (int k = 0; k < count; ++k) {
        if (mCore.Table().IDAt(k) == id)
            return k;
    }
    return -1;
}

ModulePicture *frmBackground::picModule(int index) const
{
    if (index < 0 || index >= int(mPictures.size()))
        return nullptr;
    return mPictures[size_t(index)].data();
}

ModulePicture *frmBackground::CreatePicture(int index)
{
    auto *picture = new ModulePicture(index, mCore.Table(), this);
    if (ModulePicture *first = picModule(0))
        picture->setFixedSize(first->size());
    picture->hide();
    // Queued, so that the click, which waits and may rebuild the pictures, never runs
    // inside the event handler of the picture that was clicked.
    connect(picture, &ModulePicture::clicked, this, &frmBackground::picModule_Click, Qt::QueuedConnection);
    connect(picture, &ModulePicture::pressedWhileReplaced, this, [this](int pressed) {
        if (ModulePicture *successor = picModule(pressed); successor && !successor->isHidden())
            successor->TakePress();
    });
    if (index >= int(mPictures.size()))
        mPictures.resize(size_t(index) + 1);
    mPictures[size_t(index)] = picture;
    return picture;
}

void frmBackground::ShowImage(int index, bool selected)
{
    ModulePicture *picture = picModule(index);
    if (!picture)
        return;
    const ModuleData &record = RecordAt(index);
    picture->SetImage(ImageIndex(record.GetStatusChannel1(), record.GetStatusChannel2(), selected),
                      mCore.Table().IDAt(index));
}

double frmBackground::InnerWidth() const { return double(PixelsToTwips(width())); }
double frmBackground::InnerHeight() const { return double(PixelsToTwips(height())); }

double frmBackground::PictureWidth() const
{
    const ModulePicture *first = picModule(0);
    return double(PixelsToTwips(first ? first->width() : kModuleImageWidth));
}

double frmBackground::PictureHeight() const
{
    const ModulePicture *first = picModule(0);
    return double(PixelsToTwips(first ? first->height() : kModuleImageHeight));
}

QWidget *frmBackground::SizedWindow()
{
    QMdiSubWindow *frame = ChildFrame(this);
    return frame ? static_cast<QWidget *>(frame) : this;
}

void frmBackground::Form_Load()
{
    if (ModulePicture *first = picModule(0))
        first->SetImage(1, mCore.Table().IDAt(0));
    lblPC->hide();
    mSelectedIndex = 0;
    SizedWindow()->resize(std::max(1, TwipsToPixels(mSize.width)), std::max(1, TwipsToPixels(mSize.height)));
}

void frmBackground::Form_Activate()
{
    if (mPictures.size() > 1) {
        // Hidden now and deleted later: one of them may be inside its own event handler.
        for (size_t k = 1; k < mPictures.size(); ++k) {
            if (ModulePicture *picture = mPictures[k]) {
                picture->hide();
                picture->deleteLater();
            }
        }
        mPictures.resize(1);
    }
    DrawModules();
}

void frmBackground::Form_Resize() { DrawModules(); }

void frmBackground::Form_Unload()
{
    const QSize size = SizedWindow()->size();
    const auto toInt32 = [](int64_t twips) { return int32_t(std::clamp<int64_t>(twips, 0, INT32_MAX)); };
    mSize.height = toInt32(PixelsToTwips(size.height()));
    mSize.width = toInt32(PixelsToTwips(size.width()));
}

void frmBackground::DrawLink(int from, int to, const QColor &colour)
{
    const int count = mCore.Table().Count();
    const double start = PositionAngle(from, count);
    const double end = PositionAngle(to, count);
    // On rings of more than 360 modules neighbours can round to the same whole degree:
    // their link has no length. Only the link of a one-module ring, from a position to
    // itself, goes all the way round.
    if (from != to && start == end)
        return;
    const double centreX = InnerWidth() / 2.0;
    const double centreY = InnerHeight() / 2.0;
    const float radius = RingRadius(InnerHeight(), PictureHeight());
    for (int strand = 0; strand < 3; ++strand)
        mCanvas.Arc(centreX, centreY, double(radius) + strand * kRingStrandStep, colour, start, end);
}

void frmBackground::DrawModules()
{
    mCanvas.Resize(size(), devicePixelRatioF());
    const double innerWidth = InnerWidth();
    const double innerHeight = InnerHeight();

    if (mPictures.size() > 1) {
        for (const QPointer<ModulePicture> &picture : mPictures) {
            if (picture)
                picture->hide();
        }
    }

    mCanvas.Clear();
    const float ringRadius = RingRadius(innerHeight, PictureHeight());
    for (int strand = 0; strand < 3; ++strand)
        mCanvas.Circle(innerWidth / 2.0, innerHeight / 2.0, double(ringRadius) + strand * kRingStrandStep,
                       RingCanvas::kBlue);
    const int32_t pictureRadius = PictureRadius(ringRadius);

    const int count = mCore.Table().Count();
    mDrawnOrder.assign(mCore.Table().Order().begin(), mCore.Table().Order().end());
    for (int k = 0; k < count; ++k) {
        ModulePicture *picture = picModule(k);
        if (!picture)
            picture = CreatePicture(k);
        ShowImage(k, false);

        const int next = NextPosition(k, count);
        const int previous = PreviousPosition(k, count);
        const ModuleData &here = RecordAt(k);
        const ModuleData &after = RecordAt(next);
        DrawLink(k, next, LinkIsRed(here.GetStatusChannel1(), here.GetStatusChannel2(),
                                    after.GetStatusChannel1(), after.GetStatusChannel2())
                     ? RingCanvas::kRed
                     : RingCanvas::kBlue);
        const ModuleData &before = RecordAt(previous);
        DrawLink(previous, k, LinkIsRed(before.GetStatusChannel1(), before.GetStatusChannel2(),
                                        here.GetStatusChannel1(), here.GetStatusChannel2())
                     ? RingCanvas::kRed
                     : RingCanvas::kBlue);

        if (const ModulePicture *first = picModule(0))
            lblPC->move(first->x(), first->y() + first->height());

        picture->hide();
        const TwipsPoint topLeft = PictureTopLeft(innerWidth, innerHeight, pictureRadius,
                                                  PositionAngle(k, count), PictureWidth(), PictureHeight());
        picture->move(TwipsToPixels(topLeft.x), TwipsToPixels(topLeft.y));
        picture->show();
        lblPC->show();
    }
    PlaceMark();
    update();
}

void frmBackground::MarkModule(int id)
{
    mMarkedID = id;
    PlaceMark();
}

void frmBackground::PlaceMark()
{
    const auto drawn = std::find(mDrawnOrder.begin(), mDrawnOrder.end(), mMarkedID);
    const ModulePicture *picture =
        mMarkedID >= 0 && drawn != mDrawnOrder.end() ? picModule(int(drawn - mDrawnOrder.begin())) : nullptr;
    if (!picture || picture->isHidden()) {
        mMarkFrame->hide();
        return;
    }
    constexpr int kMargin = 3;
    mMarkFrame->setGeometry(picture->geometry().adjusted(-kMargin, -kMargin, kMargin, kMargin));
    mMarkFrame->raise();
    mMarkFrame->show();
}

void frmBackground::RedrawIfOrderChanged(bool sorted)
{
    const int count = mCore.Table().Count();
    const int shown = std::min<int>(count, int(mDrawnOrder.size()));
    const bool moved = !std::equal(mDrawnOrder.begin(), mDrawnOrder.begin() + shown, mCore.Table().Order().begin());
    if (moved || (sorted && count != int(mDrawnOrder.size())))
        DrawModules();
}

void frmBackground::picModule_Click(int index)
{
    if (index < 0 || index >= kTableSize)
        return;
    QPointer<frmBackground> self(this);
    const int clicked = index;

    if (mModuleState) {
        if (frmModuleState *state = mModuleState()) {
            BringToFront(state);
            state->show();
        }
    }
    if (!self)
        return;
    if (ModulePicture *picture = picModule(clicked))
        picture->setFocus(Qt::MouseFocusReason);
    if (!self)
        return;

    const int id = mCore.Table().IDAt(clicked);
    emit moduleClicked(id);
    if (!self)
        return;
    // The window may close inside the wait; the core and its table outlive it.
    RingCore &core = mCore;
    const ModuleData &record = core.Table().Module(id);
    const float ts0 = record.GetTimeStamp();
    const int64_t t0 = TheClock().ElapsedMs();

    core.Locate(id);

    setWindowTitle(tr(kSearchingCaption) + QLatin1Char('|'));
    int passes = 0;
    uint8_t spinner = 0;
    bool answered = false;
    for (;;) {
        if (record.GetTimeStamp() != ts0) {
            answered = true;
            break;
        }
        YieldToEventLoop(kLocateYieldMs);
        if (++passes >= kSpinnerPasses) {
            passes = 0;
            static const char kSpinner[] = {'|', '/', '-', '\\', '|'};
            if (spinner >= 1 && spinner <= 4 && self)
                self->setWindowTitle(tr(kSearchingCaption) + QLatin1Char(kSpinner[spinner]));
            if (spinner == 4)
                spinner = 0;
            ++spinner;
        }
        if (TimeIsUp(t0, kLocateLimitMs))
            break;
    }

    if (!answered) {
        core.LocateUnanswered(clicked, id);
        if (self)
            emit locateUnanswered(id);
        ShowMessage(self.data(), QMessageBox::Critical, tr("Error!"),
                    tr("Modul with ID %1 not answer!").arg(record.GetModuleID()));
        if (!self)
            return;
        setWindowTitle(tr("Bus Info - Selected module not found!"));
    } else {
        if (!self)
            return;
        setWindowTitle(tr("Bus Info - module found!"));
    }

    // The previous highlight goes first; on a ring that shrank meanwhile its picture may be gone.
    ShowImage(mSelectedIndex, false);

    if (mModuleState) {
        if (frmModuleState *state = mModuleState()) {
            const uint8_t mode = record.GetMode();
            state->txtModulID->setText(QString::number(id));
            state->txtVersion->setText(VersionText(record.GetVersion()));
            state->txtMode->setText(ByteToBin(mode));
            state->txtErrorCounterCH1->setText(QString::number(record.GetErrorCounterChannel1()));
            state->txtErrorCounterCH2->setText(QString::number(record.GetErrorCounterChannel2()));
            state->cmbErrorRelais->setCurrentText(ModeByte::RuleText(mode));
        }
    }
    if (!self)
        return;

    // A scan inside the wait may have moved the module or taken it off the ring; the end of
    // the click belongs to the module, wherever it stands now.
    const int count = mCore.Table().Count();
    const int position = PositionOf(id, clicked);
    if (position < 0) {
        mSelectedIndex = int16_t(clicked);
        return;
    }
    if (position < count) {
        const bool clickedAny = AnyFaulty(record);
        const int next = NextPosition(position, count);
        DrawLink(position, next,
                 ClickLinkIsRed(count, record.GetStatusChannel1(), clickedAny, AnyFaulty(RecordAt(next)))
                     ? RingCanvas::kRed
                     : RingCanvas::kBlue);
        const int previous = PreviousPosition(position, count);
        DrawLink(previous, position,
                 ClickLinkIsRed(count, record.GetStatusChannel2(), clickedAny, AnyFaulty(RecordAt(previous)))
                     ? RingCanvas::kRed
                     : RingCanvas::kBlue);
        update();
    }

    if (ModulePicture *picture = picModule(position))
        picture->SetImage(ImageIndex(record.GetStatusChannel1(), record.GetStatusChannel2(), true), id);
    mSelectedIndex = int16_t(position);
}

void frmBackground::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, mCanvas.Image());
}

void frmBackground::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    mCanvas.Resize(size(), devicePixelRatioF());
    Form_Resize();
}

void frmBackground::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}
