// Every asset as a file: its path under resources/ and its bytes.
#pragma once

#include <QImage>
#include <QString>
#include <string>
#include <vector>

#include "tools/make-assets/formats.h"

namespace assets {

struct AssetFile {
    std::string path;   // relative to resources/, e.g. "pictures/BkGround.bmp"
    std::string alias;  // the resource path when it differs from path ("sounds/UPAL"), or empty
    Bytes bytes;
};

// All assets, and assets.qrc listing them, in a fixed order. Needs a QGuiApplication.
std::vector<AssetFile> MakeAllAssets();
void WriteAssets(const std::vector<AssetFile>& files, const QString& dir);  // throws on failure

// The pictures as the game shows them, on one sheet.
QImage MakeContactSheet();
// Every picture and the sheet's game views scaled up 4x into dir.
void WriteZoomed(const QString& dir);

}  // namespace assets
