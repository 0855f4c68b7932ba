#include "uAbout.h"
#include "uConfigIni.h"
#include "uDir.h"

#include "shell/Shell.h"

#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>

TfrmAbout *frmAbout = nullptr;

TfrmAbout::TfrmAbout(QWidget *owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(628, 508);

    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    tahoma.setBold(true);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setFont(tahoma);
    lblVersion->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    lblVersion->setGeometry(40, 150, 400, 20);

    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    QFont link(QStringLiteral("Arial"));
    link.setPixelSize(21);
    link.setUnderline(true);
    Label5->setFont(link);
    Label5->setStyleSheet(QStringLiteral("color: blue; background: transparent;"));
    Label5->setCursor(Qt::PointingHandCursor);
    Label5->setGeometry(40, 190, 520, 30);
    Label5->installEventFilter(this);

    Label2 = new QLabel(QStringLiteral("Credits"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(tahoma);
    Label2->setStyleSheet(QStringLiteral("background: transparent;"));
    Label2->setGeometry(40, 360, 200, 18);

    mCredits = new QPlainTextEdit(this);
    mCredits->setObjectName(QStringLiteral("mCredits"));
    mCredits->setReadOnly(true);
    mCredits->setFrameShape(QFrame::NoFrame);
    mCredits->setStyleSheet(QStringLiteral("background: transparent;"));
    mCredits->setGeometry(40, 380, 548, 60);

    OKButton = new QPushButton(QStringLiteral("C&lose"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setGeometry(628 - 110, 508 - 44, 90, 28);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
}

void TfrmAbout::FormCreate() {
    // Made before the settings exist: the version comes from the program itself.
    lblVersion->setText(QStringLiteral("Version ") + GetVersion());
    Label5->setText(ProductWebSiteAddress());
    mCredits->setPlainText(QStringLiteral("The pictures used are believed to be in the public domain; they come from "
                                          "the Larderly clip-art collection drawn for this program."));
}

void TfrmAbout::Label5Click() {
    if (AppDirs)
        AppDirs->OpenDocument(ProductWebSiteAddress());
    else
        ShellOpenDocument(ProductWebSiteAddress());
}

bool TfrmAbout::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Label5 && event->type() == QEvent::MouseButtonRelease)
        Label5Click();
    return QDialog::eventFilter(watched, event);
}

void TfrmAbout::paintEvent(QPaintEvent *) {
    // The background picture: a soft sky over a pantry shelf, with the product's name.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0xf1, 0xf8, 0xe9));
    sky.setColorAt(1, Qt::white);
    p.fillRect(rect(), sky);
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(54);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0x2e, 0x7d, 0x32));
    p.drawText(QRect(36, 40, 560, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Larderly"));
    QFont sub(QStringLiteral("Arial"));
    sub.setPixelSize(16);
    p.setFont(sub);
    p.setPen(QColor(0x55, 0x55, 0x55));
    p.drawText(QRect(40, 108, 560, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Stock, shopping list and purchase history for the small shop and kitchen"));
    // the shelf
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xa1, 0x88, 0x7f));
    p.drawRect(QRectF(40, 330, 548, 8));
    const QColor jars[] = {QColor(0xff, 0xcc, 0x80), QColor(0xa5, 0xd6, 0xa7), QColor(0x90, 0xca, 0xf9),
                           QColor(0xef, 0x9a, 0x9a), QColor(0xff, 0xf5, 0x9d)};
    for (int i = 0; i < 9; ++i) {
        const qreal x = 60 + i * 58;
        const qreal h = 40 + (i * 17) % 36;
        p.setBrush(jars[i % 5]);
        p.drawRoundedRect(QRectF(x, 330 - h, 40, h), 6, 6);
        p.setBrush(QColor(0x6d, 0x4c, 0x41));
        p.drawRect(QRectF(x + 4, 330 - h - 6, 32, 7));
    }
}
