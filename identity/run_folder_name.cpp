#include "identity/run_folder_name.h"

#include <boost/uuid/random_generator.hpp>
#include <boost/uuid/uuid_io.hpp>

namespace va {

std::wstring NewRunFolderName()
{
    return L"vantaro_{" + boost::uuids::to_wstring(boost::uuids::random_generator()()) + L"}";
}

}  // namespace va
