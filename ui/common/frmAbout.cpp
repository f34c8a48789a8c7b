#include "ui/common/frmAbout.h"

#include "base/ProgramInfo.h"
#include "ui/common/ProgramVersion.h"
#include "ui/common/UserPrompts.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace tavrel {

frmAbout::frmAbout(UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts), systemInfo_(CollectSystemInformation),
      picIcon_(new QLabel(this)), lblTitle_(new QLabel(QString::fromLatin1(kProgramName), this)),
      lblVersion_(new QLabel(QStringLiteral("Version ") + VersionText(), this)),
      lblDescription_(new QLabel(this)), txtHomePage_(new QLineEdit(this)),
      cmdOK_(new QPushButton(QStringLiteral("OK"), this)),
      cmdSysInfo_(new QPushButton(QStringLiteral("&System Info..."), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + QString::fromLatin1(kProgramName));
    setModal(true);

    picIcon_->setObjectName(QStringLiteral("picIcon"));
    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));
    lblDescription_->setObjectName(QStringLiteral("lblDescription"));
    txtHomePage_->setObjectName(QStringLiteral("txtHomePage"));
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdSysInfo_->setObjectName(QStringLiteral("cmdSysInfo"));

    const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize) * 3 / 2;
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    picIcon_->setPixmap(icon.pixmap(iconSize, iconSize));
    picIcon_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    QFont titleFont = lblTitle_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);

    lblDescription_->setText(QStringLiteral(
        "Tavrel edits the league files and player files of an American-football simulation "
        "game. Open a league to look through its teams and players, change names and ratings, "
        "raise or lower whole positions with Global Edit, print team rosters to text files, "
        "and save the players back into the league's player file."));
    lblDescription_->setWordWrap(true);
    lblDescription_->setMinimumWidth(fontMetrics().averageCharWidth() * 48);

    txtHomePage_->setText(QString::fromLatin1(kHomePageAddress));
    txtHomePage_->setReadOnly(true);

    cmdOK_->setDefault(true);
    cmdSysInfo_->setAutoDefault(false);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle_);
    text->addWidget(lblVersion_);
    text->addSpacing(fontMetrics().height() / 2);
    text->addWidget(lblDescription_);
    text->addSpacing(fontMetrics().height() / 2);
    text->addWidget(txtHomePage_);

    auto* top = new QHBoxLayout;
    top->addWidget(picIcon_, 0, Qt::AlignTop);
    top->addSpacing(fontMetrics().averageCharWidth() * 2);
    top->addLayout(text, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdSysInfo_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo_, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

void frmAbout::SetSystemInfoSource(SystemInfoSource source) {
    systemInfo_ = std::move(source);
}

void frmAbout::StartSysInfo() {
#ifdef Q_OS_WIN
    if (StartWindowsSystemInformation())
        return;
#else
    const QList<SystemInfoItem> items = systemInfo_ ? systemInfo_() : QList<SystemInfoItem>{};
    if (!items.isEmpty()) {
        delete sysInfo_.data();
        sysInfo_ = new SystemInfoWindow(items, this);
        sysInfo_->setAttribute(Qt::WA_DeleteOnClose);
        sysInfo_->show();
        return;
    }
#endif
    prompts_.ShowMessage(this, QString::fromLatin1(kSysInfoUnavailableMessage));
}

} // namespace tavrel
