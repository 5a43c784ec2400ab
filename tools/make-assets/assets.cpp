#include "tools/make-assets/assets.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QPainter>
#include <stdexcept>

#include "tools/make-assets/pictures.h"
#include "tools/make-assets/sounds.h"

namespace assets {
namespace {

Bytes PngBytes(QImage img) {
    img.setDotsPerMeterX(2835);
    img.setDotsPerMeterY(2835);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!img.save(&buffer, "PNG")) throw std::runtime_error("cannot encode PNG");
    return Bytes(data.begin(), data.end());
}

Bytes TextBytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

QString AvatarName(int i) {
    return QStringLiteral("avatars/avatar%1.png").arg(i, 2, 10, QLatin1Char('0'));
}

std::string QrcText(const std::vector<AssetFile>& files) {
    std::string s =
        "<!DOCTYPE RCC>\n"
        "<!-- Written by tools/make-assets; regenerate rather than edit. -->\n"
        "<RCC version=\"1.0\">\n"
        "  <qresource prefix=\"/\">\n";
    for (const AssetFile& f : files) {
        s += "    <file compression-algorithm=\"none\"";
        if (!f.alias.empty()) s += " alias=\"" + f.alias + "\"";
        s += ">" + f.path + "</file>\n";
    }
    s += "  </qresource>\n</RCC>\n";
    return s;
}

std::string Describe(const std::string& path) {
    struct D {
        const char* prefix;
        const char* text;
    };
    static const D kDescriptions[] = {
        {"pictures/BkGround",
         "310 x 380, 8-bit palette: tiled well, sky, headings Level/Score/Lines/Next (Comic Neue "
         "Bold), label and next-piece boxes"},
        {"pictures/Image1", "306 x 18, 8-bit: green strip (same picture as Image2)"},
        {"pictures/Image2", "306 x 18, 8-bit: green strip"},
        {"pictures/Image3", "306 x 18, 8-bit: red strip"},
        {"pictures/Image4", "306 x 18, 8-bit: purple strip"},
        {"pictures/Image5", "306 x 18, 8-bit: orange strip"},
        {"pictures/Image6", "306 x 18, 8-bit: grey strip"},
        {"pictures/Image7", "306 x 18, 8-bit: blue strip"},
        {"pictures/Erase", "18 x 18, 4-bit: the special piece, key colour silver (192,192,192)"},
        {"pictures/PauseImg", "163 x 50, 24-bit: Pause (Liberation Serif Bold Italic), key white"},
        {"pictures/GmOvImg", "195 x 35, 24-bit: GAME OVER (Liberation Sans Bold), key white"},
        {"avatars/", "32 x 32 RGBA: avatar picture n of ImageList1"},
        {"pictures/SpeedButton1", "28 x 27 RGBA: curved arrow turning left"},
        {"pictures/SpeedButton2", "28 x 27 RGBA: curved arrow turning right"},
        {"icons/zonkymosaro-32", "32 x 32 RGBA: program icon (About dialogs)"},
        {"icons/zonkymosaro.svg", "program icon, scalable"},
        {"icons/", "program icon, desktop size"},
        {"pictures/Game1",
         "100 x 100: Form2 first game picture, hint \"Zonky Cascade\" (Comic Neue Bold)"},
        {"pictures/Game2",
         "100 x 100: Form2 second game picture, hint \"Mosaro Tiles\" (Comic Neue Bold)"},
        {"sounds/UPAL", "PCM mono 22050 Hz 16-bit, 0.091 s: landing thud"},
        {"sounds/FIRE", "PCM mono 11025 Hz 8-bit, 0.711 s: crackling burst, rows removed"},
        {"sounds/SPACE", "PCM mono 22050 Hz 16-bit, 0.186 s: whoosh; DISP, LIST chunks"},
        {"sounds/LEVELFIN",
         "MS ADPCM stereo 22050 Hz, 51623 frames, 2.341 s: fanfare; fact, DISP, LIST chunks"},
    };
    for (const D& d : kDescriptions)
        if (path.rfind(d.prefix, 0) == 0) return d.text;
    return "";
}

std::string ReadmeText(const std::vector<AssetFile>& files) {
    std::string s =
        "# resources/\n\n"
        "Written by `tools/make-assets` (`build/tools/make-assets/make-assets resources`); do not\n"
        "edit these files, change the generator and run it again. The test\n"
        "`Regenerate.TheGeneratorRebuildsResourcesByteForByte` fails when they drift.\n"
        "`assets.qrc` embeds them all uncompressed (target `zonky_resources`); `ui/` is not\n"
        "generated. Look sounds up as `\":/sounds/\" + name.toUpper()`.\n\n"
        "| resource path | file | content |\n|---|---|---|\n";
    for (const AssetFile& f : files)
        s += "| `:/" + (f.alias.empty() ? f.path : f.alias) + "` | `" + f.path + "` | " +
             Describe(f.path) + " |\n";
    return s;
}

}  // namespace

std::vector<AssetFile> MakeAllAssets() {
    std::vector<AssetFile> files;
    files.push_back({"pictures/BkGround.bmp", "", WritePaletteBmp(MakeBkGround(), 8)});
    for (int c = 1; c <= 7; ++c)
        files.push_back(
            {"pictures/Image" + std::to_string(c) + ".bmp", "", WritePaletteBmp(MakeStrip(c), 8)});
    files.push_back({"pictures/Erase.bmp", "", WritePaletteBmp(MakeErase(), 4)});
    files.push_back({"pictures/PauseImg.bmp", "", WriteRgbBmp(MakePauseImg())});
    files.push_back({"pictures/GmOvImg.bmp", "", WriteRgbBmp(MakeGmOvImg())});
    for (int i = 0; i < 25; ++i)
        files.push_back({AvatarName(i).toStdString(), "", PngBytes(MakeAvatar(i))});
    files.push_back({"pictures/SpeedButton1.png", "", PngBytes(MakeSpeedButton(false))});
    files.push_back({"pictures/SpeedButton2.png", "", PngBytes(MakeSpeedButton(true))});
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        files.push_back(
            {"icons/zonkymosaro-" + std::to_string(size) + ".png", "", PngBytes(MakeIcon(size))});
    files.push_back({"icons/zonkymosaro.svg", "", TextBytes(MakeIconSvg())});
    files.push_back({"pictures/Game1.png", "", PngBytes(MakeGamePicture(0))});
    files.push_back({"pictures/Game2.png", "", PngBytes(MakeGamePicture(1))});
    const IndexedPicture dib = MakeIconDib();
    files.push_back({"sounds/UPAL.wav", "sounds/UPAL", MakeUpalWav()});
    files.push_back({"sounds/FIRE.wav", "sounds/FIRE", MakeFireWav()});
    files.push_back({"sounds/SPACE.wav", "sounds/SPACE", MakeSpaceWav(dib)});
    files.push_back({"sounds/LEVELFIN.wav", "sounds/LEVELFIN", MakeLevelFinWav(dib)});
    const std::string qrc = QrcText(files);
    const std::string readme = ReadmeText(files);
    files.push_back({"assets.qrc", "", TextBytes(qrc)});
    files.push_back({"README.md", "", TextBytes(readme)});
    return files;
}

void WriteAssets(const std::vector<AssetFile>& files, const QString& dir) {
    for (const AssetFile& f : files) {
        const QString path = dir + QLatin1Char('/') + QString::fromStdString(f.path);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(f.bytes.data()),
                       static_cast<qint64>(f.bytes.size())) != static_cast<qint64>(f.bytes.size()))
            throw std::runtime_error("cannot write " + path.toStdString());
    }
}

// ---- the contact sheet: the window as the game draws it -------------------------------

namespace {

// Copies src rectangle to dst rectangle, nearest neighbour, leaving out pixels of colour key.
void Blit(QImage& dst, const QImage& src, QRect from, QRect to, const QRgb* key) {
    for (int y = 0; y < to.height(); ++y)
        for (int x = 0; x < to.width(); ++x) {
            const int sx = from.x() + x * from.width() / to.width();
            const int sy = from.y() + y * from.height() / to.height();
            const int dx = to.x() + x, dy = to.y() + y;
            if (!dst.rect().contains(dx, dy) || !src.rect().contains(sx, sy)) continue;
            const QRgb c = src.pixel(sx, sy) | 0xFF000000u;
            if (key && (c & 0xFFFFFFu) == (*key & 0xFFFFFFu)) continue;
            dst.setPixel(dx, dy, c);
        }
}

struct Game {
    QImage bk;
    std::vector<QImage> strips;
    QImage erase;
    QRgb key = qRgb(252, 252, 252);
};

QRect CellRect(int row, int col) {
    return QRect(18 * (col - 1), 16 + 18 * (row - 1), 18, 18);
}

// A settled part (rows 1..17 stretched, as the repaint draws it) or a falling cell (rows 0..17).
void DrawCell(QImage& win, const Game& g, int code, int colour, QRect at, bool falling) {
    const QRect frame(18 * (code + 6), falling ? 0 : 1, 18, falling ? 18 : 17);
    Blit(win, g.strips[static_cast<size_t>(colour)], frame, at, &g.key);
}

void DrawLabel(QImage& win, int top, const QString& text, int px) {
    QPainter p(&win);
    QFont f(QStringLiteral("Liberation Mono"));
    f.setPixelSize(px);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 255));
    p.drawText(QRect(218, top, 90, 15), Qt::AlignCenter, text);
}

QImage GameView(const Game& g, int variant) {
    QImage win(309, 380, QImage::Format_RGB32);
    Blit(win, g.bk, QRect(0, 0, 309, 380), QRect(0, 0, 309, 380), nullptr);
    struct Part {
        int row, col, code, colour;
    };
    std::vector<Part> parts;
    // Row 20: full squares and complementary pairs in different colours.
    const int r20[12][4] = {{0, 1, 250, 0}, {0, 3, 250, 0}, {-1, 3, 1, 7},  {6, 5, -6, 4},
                            {0, 7, 250, 0}, {-4, 6, 4, 1},  {5, 7, -5, 3},  {0, 4, 250, 0},
                            {-2, 5, 2, 6},  {-3, 4, 3, 5},  {0, 6, 250, 0}, {0, 2, 250, 0}};
    for (int c = 0; c < 12; ++c) {
        parts.push_back({20, c + 1, r20[c][0], r20[c][1]});
        if (r20[c][2] != 250) parts.push_back({20, c + 1, r20[c][2], r20[c][3]});
    }
    // Row 19: the thirteen shapes but the full square, alone, in all colours.
    const int r19[12] = {-6, -5, -4, -3, -2, -1, 1, 2, 3, 4, 5, 6};
    for (int c = 0; c < 12; ++c) parts.push_back({19, c + 1, r19[c], c % 7 + 1});
    // Row 18: merged quarter pairs (codes 7 and 8) and a few more.
    parts.push_back({18, 1, -2, 3}), parts.push_back({18, 1, -1, 7});
    parts.push_back({18, 2, -4, 5}), parts.push_back({18, 2, -3, 4});
    parts.push_back({18, 3, 0, 6}), parts.push_back({18, 6, 5, 1}), parts.push_back({18, 7, 0, 1});
    parts.push_back({18, 8, -6, 1}), parts.push_back({18, 11, 0, 4}),
        parts.push_back({18, 12, 6, 7});
    for (const Part& p : parts) DrawCell(win, g, p.code, p.colour, CellRect(p.row, p.col), false);
    if (variant != 2) {
        // The falling piece: an L of Zonky cells in purple, drawn from rows 0..17.
        const int piece[3][2] = {{6, 250}, {0, 250}, {0, -6}};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 2; ++j)
                if (piece[i][j] != 250)
                    DrawCell(win, g, piece[i][j], 4, CellRect(9 + i, 5 + j), true);
    }
    // The preview: background box stretched, then the next piece (rows 1..17 stretched).
    Blit(win, g.bk, QRect(228, 295, 71, 70), QRect(227, 295, 72, 72), nullptr);
    const QRgb silver = qRgb(192, 192, 192);
    if (variant == 2) {
        Blit(win, g.erase, g.erase.rect(), QRect(254, 322, 18, 18), &silver);
    } else {
        const int next[2][3] = {{5, 0, -6}, {250, 0, 250}};  // a T, width 3, height 2
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 3; ++j)
                if (next[i][j] != 250)
                    DrawCell(win, g, next[i][j], 5, QRect(236 + 18 * j, 313 + 18 * i, 18, 18),
                             false);
    }
    if (variant == 0) {
        // The special piece falling in the well.
        Blit(win, g.erase, g.erase.rect(), CellRect(4, 10), &silver);
    }
    const QRgb white = qRgb(255, 255, 255);
    if (variant == 1) {
        const QImage pause = ToQImage(MakePauseImg());
        Blit(win, pause, pause.rect(), QRect(26, 166, 163, 50), &white);
    }
    DrawLabel(win, 64, QStringLiteral("3"), 14);
    DrawLabel(win, 200, QStringLiteral("17"), 15);
    DrawLabel(win, 132, QStringLiteral("1234"), 14);
    if (variant == 2) {
        const QImage over = ToQImage(MakeGmOvImg());
        Blit(win, over, over.rect(), QRect(16, 178, 195, 35), &white);
    }
    return win;
}

Game LoadGame() {
    Game g;
    g.bk = ToQImage(MakeBkGround());
    g.strips.push_back(QImage());
    for (int c = 1; c <= 7; ++c) g.strips.push_back(ToQImage(MakeStrip(c)));
    g.erase = ToQImage(MakeErase());
    return g;
}

QImage Zoom(const QImage& img, int k) {
    return img.scaled(img.size() * k, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace

QImage MakeContactSheet() {
    const Game g = LoadGame();
    QImage sheet(1000, 1440, QImage::Format_RGB32);
    sheet.fill(QColor(58, 62, 72));
    QPainter p(&sheet);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(12);
    p.setFont(f);
    p.setPen(QColor(230, 230, 230));
    const char* titles[] = {"in play (special piece in the well)", "paused", "game over"};
    for (int v = 0; v < 3; ++v) {
        p.drawImage(10 + v * 329, 24, GameView(g, v));
        p.drawText(10 + v * 329, 18, QString::fromLatin1(titles[v]));
    }
    int y = 420;
    p.drawText(
        10, y,
        QStringLiteral("Image1 .. Image7, 3x (frames 0..16: codes -6..6, merged 7, 8, two empty)"));
    y += 8;
    for (int c = 1; c <= 7; ++c) {
        p.drawImage(10, y, Zoom(g.strips[static_cast<size_t>(c)], 3));
        y += 58;
    }
    y += 14;
    p.drawText(10, y,
               QStringLiteral("Erase 4x, PauseImg, GmOvImg, SpeedButton1/2 2x on a button face"));
    y += 8;
    p.drawImage(10, y, Zoom(g.erase, 4));
    p.drawImage(100, y, ToQImage(MakePauseImg()));
    p.drawImage(280, y, ToQImage(MakeGmOvImg()));
    p.fillRect(QRect(490, y, 170, 66), QColor(212, 208, 200));
    p.drawImage(500, y + 6, Zoom(MakeSpeedButton(false), 2));
    p.drawImage(580, y + 6, Zoom(MakeSpeedButton(true), 2));
    y += 90;
    p.drawText(10, y, QStringLiteral("program icon 16, 24, 32, 48, 64, 128"));
    y += 8;
    int x = 10;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        p.drawImage(x, y, MakeIcon(size));
        x += size + 12;
    }
    y += 150;
    p.drawText(10, y, QStringLiteral("avatars 0..24 (2x), welcome pictures"));
    y += 8;
    p.fillRect(QRect(10, y, 5 * 70 + 6, 5 * 70 + 6), QColor(212, 208, 200));
    for (int i = 0; i < 25; ++i)
        p.drawImage(16 + (i % 5) * 70, y + 6 + (i / 5) * 70, Zoom(MakeAvatar(i), 2));
    p.drawImage(400, y, MakeGamePicture(0));
    p.drawImage(520, y, MakeGamePicture(1));
    p.drawText(400, y + 116, QString::fromLatin1(GamePictureName(0)));
    p.drawText(520, y + 116, QString::fromLatin1(GamePictureName(1)));
    p.end();
    return sheet;
}

void WriteZoomed(const QString& dir) {
    QDir().mkpath(dir);
    const Game g = LoadGame();
    auto save = [&](const QImage& img, const QString& name, int k) {
        if (!Zoom(img, k).save(dir + QLatin1Char('/') + name, "PNG"))
            throw std::runtime_error("cannot write " + name.toStdString());
    };
    save(g.bk, QStringLiteral("BkGround-4x.png"), 4);
    for (int c = 1; c <= 7; ++c)
        save(g.strips[static_cast<size_t>(c)], QStringLiteral("Image%1-4x.png").arg(c), 4);
    save(g.erase, QStringLiteral("Erase-4x.png"), 4);
    save(ToQImage(MakePauseImg()), QStringLiteral("PauseImg-4x.png"), 4);
    save(ToQImage(MakeGmOvImg()), QStringLiteral("GmOvImg-4x.png"), 4);
    for (int v = 0; v < 3; ++v) save(GameView(g, v), QStringLiteral("window%1-2x.png").arg(v), 2);
    QImage avatars(5 * 34, 5 * 34, QImage::Format_ARGB32);
    avatars.fill(QColor(212, 208, 200));
    {
        QPainter p(&avatars);
        for (int i = 0; i < 25; ++i) p.drawImage(1 + (i % 5) * 34, 1 + (i / 5) * 34, MakeAvatar(i));
    }
    save(avatars, QStringLiteral("avatars-4x.png"), 4);
    save(MakeSpeedButton(false), QStringLiteral("SpeedButton1-4x.png"), 4);
    save(MakeSpeedButton(true), QStringLiteral("SpeedButton2-4x.png"), 4);
    save(MakeIcon(32), QStringLiteral("icon32-4x.png"), 4);
    save(MakeGamePicture(0), QStringLiteral("Form2-Image3-4x.png"), 4);
    save(MakeGamePicture(1), QStringLiteral("Form2-Image1-4x.png"), 4);
}

}  // namespace assets
