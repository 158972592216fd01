#include "pickers/w_temp.h"

#include "books/sdwfkbk.h"

w_temp::w_temp()
    : w_temp1(QStringLiteral("w_temp"), QStringLiteral("付款人查询"), QStringLiteral("付款人"), brevik::sdwfkbk(),
              QRect(0, 0, 1993, 756), QStringLiteral("w_fkrbk"))
{
}
