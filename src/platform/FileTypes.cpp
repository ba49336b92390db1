#include "platform/FileTypes.h"

namespace {
std::shared_ptr<FileType> MakeType(const QString& name, const QString& extensions, const QString& type,
                                   const QString& creator) {
    auto fileType = std::make_shared<FileType>();
    fileType->SetName(name);
    fileType->SetExtensions(extensions);
    fileType->SetMacType(type);
    fileType->SetMacCreator(creator);
    // Using the type as text registers it, so it is known from start-up on.
    (void)fileType->ToString();
    return fileType;
}
} // namespace

namespace MQFTypes {
std::shared_ptr<FileType> pMQF;
std::shared_ptr<FileType> pMQM;
std::shared_ptr<FileType> pMQT;

void Init() {
    pMQF = MakeType(QStringLiteral("Mosaicor Format"), QStringLiteral("mqf"), QStringLiteral("MQF"),
                    QStringLiteral("Veldrane"));
    pMQM = MakeType(QStringLiteral("Mosaicor Map"), QStringLiteral("mqm"), QStringLiteral("MQM"),
                    QStringLiteral("Veldrane"));
    pMQT = MakeType(QStringLiteral("Mosaicor Tileset"), QStringLiteral("mqt"), QStringLiteral("MQT"),
                    QStringLiteral("Veldrane"));
}

void Release() {
    pMQF.reset();
    pMQM.reset();
    pMQT.reset();
}
} // namespace MQFTypes

namespace PNGType {
std::shared_ptr<FileType> pImagePng;

void Init() {
    pImagePng = MakeType(QStringLiteral("image/png"), QStringLiteral(".png"), QStringLiteral("PNG"),
                         QStringLiteral("????"));
}

void Release() {
    pImagePng.reset();
}

std::shared_ptr<FileType> ImagePng() {
    if (!pImagePng)
        Init();
    return pImagePng;
}
} // namespace PNGType

void InitFileTypes() {
    MQFTypes::Init();
    PNGType::Init();
}

void ReleaseFileTypes() {
    MQFTypes::Release();
    PNGType::Release();
}
