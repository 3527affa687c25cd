// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The faces the portrait beside the messages shows: the hero's four of the race screen (calm,
// hurt, grinning, panicking, img_Zenta(1) to (4)), and those the modern way adds so that the face
// follows what is said in the scenes: the hero relieved, the hero flustered, and his friend 烈.
#pragma once

enum Face : int { FaceCalm = 1, FaceHurt, FaceGrin, FacePanic, FaceRelieved, FaceFlustered, FaceRetsu };
constexpr int FaceCount = FaceRetsu;
