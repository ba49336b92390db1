#pragma once

#include "platform/FileType.h"

#include <memory>

// The editor's own document types, declared and registered at start-up. The map files' dialogs name their
// filters themselves, so these objects are declared and no more.
namespace MQFTypes {
extern std::shared_ptr<FileType> pMQF;
extern std::shared_ptr<FileType> pMQM;
extern std::shared_ptr<FileType> pMQT;
void Init();
void Release();
} // namespace MQFTypes

// The PNG type, the one type the open dialog offers.
namespace PNGType {
extern std::shared_ptr<FileType> pImagePng;
void Init();
void Release();
std::shared_ptr<FileType> ImagePng();
} // namespace PNGType

// Declares all four types, the document types first.
void InitFileTypes();
void ReleaseFileTypes();
