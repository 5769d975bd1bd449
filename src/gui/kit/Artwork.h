#pragma once
// The program's own pictures, painted: the product logo of the start panel,
// the pictures of its three entry buttons and the information sign.

#include <QPixmap>

namespace roadtally {

QPixmap logoPicture(int size);       // radar trailer sign showing a speed
QPixmap openSurveyPicture(int size); // a folder with a chart
QPixmap loadDataPicture(int size);   // a data file with an arrow
QPixmap lastSurveyPicture(int size); // a return arrow over a page
QPixmap informationPicture(int size);

} // namespace roadtally
