// Drawing of the three clock characters in a given pose.
#pragma once

#include "canvas.h"
#include "image.h"
#include "pose.h"

// Tock, the hour robot: boxy teal body, screen face, antenna, telescopic arms.
void DrawHourBot(Canvas& canvas, const Pose& pose);
// Pip, the minute blob: round violet gumdrop with a leafy sprout.
void DrawMinuteBlob(Canvas& canvas, const Pose& pose);
// Zip, the second fox: small orange fox with pointed ears and a bushy tail.
void DrawSecondFox(Canvas& canvas, const Pose& pose);

void DrawCharacter(Canvas& canvas, Character who, const Pose& pose);

// A 176 x 176 indexed frame of a strip.
IndexedImage MakeCharacterFrame(Character who, Strip strip, int frame, Quantizer& quantizer);
