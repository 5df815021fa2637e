#pragma once

// The three kinds of operating the DX window filters by, and the alert
// rules' `Modes=CW,PHONE,DIGITAL`. Unknown when neither the comment nor the
// band plan says.
enum class ModeGroup : unsigned char
{
    Unknown,
    Cw,
    Phone,
    Digital
};
