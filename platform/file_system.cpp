#include "platform/file_system.h"

namespace tv {

FileResult FileSystem::copy(const QString& source, const QString& destination)
{
    const FileRead in = read(source);
    if (!in.result.ok())
        return in.result;
    return replace(destination, in.bytes);
}

}  // namespace tv
