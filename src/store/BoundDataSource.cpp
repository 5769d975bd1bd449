#include "store/BoundDataSource.h"

namespace roadtally {

BoundDataSource::BoundDataSource(QObject *parent) : QObject(parent) {}

} // namespace roadtally
