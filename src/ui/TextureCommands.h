#pragma once

enum class OrganGroup;
class CMainFrame;

// "Texture to current object": asks for a front and a back image and gives both to
// the object the commands act on, as one step. Cancelling either dialog, or an
// image that cannot be loaded, leaves the object as it was.
void textureTargetObject(CMainFrame& frame);

// "Texture to leaves" and its siblings: asks for the two images once and gives
// them to every organ of the group inside the object the commands act on, as one
// step. Without such organs nothing changes and the status bar says so.
void textureTargetOrgans(CMainFrame& frame, OrganGroup group);
